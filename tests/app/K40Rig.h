#pragma once
// A whole K40 (the three windows and their wiring) on recording fakes, in a
// temporary folder that stands for the executable's folder.

#include "Fakes.h"
#include "app/K40Application.h"
#include "model/FareData.h"
#include "model/Hy3File.h"
#include "console/ConsoleWindow.h"
#include "widgets/StopNameDisplay.h"
#include "widgets/SegmentDisplay.h"
#include "widgets/PropertyBag.h"
#include "board/BoardWindow.h"
#include "model/AppInfo.h"
#include "options/OptionsDialog.h"

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <memory>

struct K40Rig {
    QTemporaryDir dir;
    RecordingMessageBox messages;
    FakeClock clock;
    FakeCompanionDialogs dialogs;
    RecordingMediaCommands sound;
    FakeSpeech speech;
    FakeTicketEngine tickets;
    Services services;
    std::unique_ptr<K40Application> app;

    K40Rig() {
        AppInfo::setExecutablePath(dir.filePath(QStringLiteral("K40")));
        services.messages = &messages;
        services.clock = &clock;
        services.dialogs = &dialogs;
        services.sound = &sound;
        services.speech = &speech;
        services.tickets = &tickets;
        app = std::make_unique<K40Application>(services);
        app->onEnd = [] {};
    }
    ~K40Rig() { AppInfo::setExecutablePath(QString()); }

    void start() { app->start(); }
    BoardWindow& panel() { return app->panel(); }
    ConsoleWindow& ctl() { return app->console(); }
    OptionsDialog& opt() { return app->options(); }
    QString path(const QString& name) const { return dir.filePath(name); }

    void writeFile(const QString& name, const QByteArray& bytes) {
        QFile f(path(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }

    // A route of count stops "停1".."停<count>", ticket r, v(k) = 100 r + k
    // and v(30) = r % 5, in <route>.hy3 of the rig's folder, which becomes
    // the fare data folder.
    void writeRoute(int route, int count) {
        std::vector<FareData::RouteRow> rows(static_cast<size_t>(count));
        for (int r = 1; r <= count; ++r) {
            FareData::RouteRow& row = rows[size_t(r - 1)];
            row.name = QStringLiteral("停%1").arg(r);
            row.ticket = static_cast<qint16>(r);
            for (int k = 1; k <= 150; ++k) row.v[size_t(k - 1)] = static_cast<qint16>(100 * r + k);
            row.v[29] = static_cast<qint16>(r % 5);
        }
        writeFile(QStringLiteral("%1.hy3").arg(route), FareData::serializeHy3(rows));
        opt().Text2[0]->setText(dir.path());
    }

    // Types the route and the section on the keypad and presses its "リセット".
    void setRoute(const QString& route, const QString& section) {
        ctl().CommandButton1_Click(10);
        for (QChar c : route) ctl().CommandButton1_Click(c.digitValue());
        ctl().CommandButton1_Click(11);
        for (QChar c : section) ctl().CommandButton1_Click(c.digitValue());
        ctl().Command1_Click(1);
    }

    QString cell(int i) { return panel().Degit[size_t(i)]->value().toText(); }

    // What the strip shows, drawn afresh by a strip of the same properties.
    QImage stripFor(const QString& name, qint16 prefixMode) {
        PropertyBag bag;
        panel().ChimeiCtl->writeProperties(bag);
        StopNameDisplay reference(nullptr, &bag, &clock);
        reference.setPrefixMode(prefixMode);
        reference.setStopName(name);
        return reference.stripImage();
    }
    QImage strip() { return panel().ChimeiCtl->stripImage(); }
};
