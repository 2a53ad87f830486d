#pragma once
// A whole K40 (the three windows and their wiring) on recording fakes, in a
// temporary folder that stands for the executable's folder.

#include "Fakes.h"
#include "SettingsSamples.h"
#include "TestFiles.h"
#include "TestRoute.h"
#include "app/K40Application.h"
#include "app/WindowPlacement.h"
#include "board/BoardWindow.h"
#include "console/ConsoleWindow.h"
#include "model/AppInfo.h"
#include "model/Cp932.h"
#include "model/RouteSession.h"
#include "model/Settings.h"
#include "model/SettingsFile.h"
#include "options/OptionsDialog.h"
#include "widgets/SegmentDisplay.h"
#include "Waiting.h"
#include "widgets/StopNameDisplay.h"

#include <QtTest>
#include <QtWidgets>
#include <memory>

// The texts of the message boxes shown, in order.
inline QStringList said(const RecordingMessageBox& box) {
    QStringList texts;
    for (const ShownMessage& m : box.shown) texts << m.text;
    return texts;
}

// A window manager whose frames put the client area offset from the frame's
// corner and are border larger than it, on screens of the test's choosing.
struct FakeWindows : WindowPlacement {
    FakeWindows(QList<QRect> a, QPoint o = {}, QSize b = {})
        : areas(std::move(a)), offset(o), border(b) {}
    QList<QRect> areas;
    QPoint offset;
    QSize border;
    QPoint framePosition(const QWidget& w) const override { return w.pos() - offset; }
    void moveFrameTo(QWidget& w, const QPoint& p) override { w.move(p + offset); }
    QSize frameSize(const QWidget& w) const override { return w.size() + border; }
    QRect screenArea() const override { return areas.value(0); }
    QList<QRect> usableAreas() const override { return areas; }
};

struct K40Rig {
    QTemporaryDir dir;
    RecordingMessageBox messages;
    FakeClock clock;
    FakeCompanionDialogs dialogs;
    RecordingSoundOutput sound;
    FakeSpeech speech;
    FakeTicketEngine tickets;
    Services services;
    std::unique_ptr<K40Application> app;

    K40Rig() {
        AppInfo::setExecutablePath(dir.filePath(QStringLiteral("K40")));
        services = {.messages = &messages, .dialogs = &dialogs, .tickets = &tickets,
                    .sound = &sound, .speech = &speech, .clock = &clock};
        make();
    }
    ~K40Rig() { AppInfo::setExecutablePath(QString()); }

    // A new K40 on the same folder and fakes (a second start).
    void make() { app = std::make_unique<K40Application>(services); app->onEnd = [] {}; }
    void start() { app->start(); }
    // Starts on the test route of stops stops as route, set at section.
    void startOn(int route, int stops, const QString& section) {
        writeRoute(route, stops), start();
        setRoute(QString::number(route), section);
    }
    BoardWindow& board() { return app->board(); }
    ConsoleWindow& console() { return app->console(); }
    OptionsDialog& options() { return app->options(); }
    RouteSession& session() { return app->session(); }
    Settings& settings() { return app->settings(); }
    QString path(const QString& name) const { return dir.filePath(name); }

    // Changes the options as the options dialog's OK does.
    void edit(const std::function<void(SettingsRecord&)>& change) {
        SettingsRecord r = settings().record();
        change(r), settings().commitOptions(r);
    }

    // The test route of count stops as <route>.hy3 of the fare folder, the rig's.
    void writeRoute(int route, int count) {
        writeFile(path(QStringLiteral("%1.hy3").arg(route)), testRoute(count));
        edit([this](SettingsRecord& r) { r.fareFolder = dir.path(); });
    }

    // The announcements of route as <route>tp.csv of the announcement folder, the rig's.
    void writeTape(int route, const QString& text) {
        writeFile(path(QStringLiteral("%1tp.csv").arg(route)), Cp932::encode(text));
        edit([this](SettingsRecord& r) { r.announcementFolder = dir.path(); });
    }

    // Types the route and the section on the keypad, presses "リセット", passes the lamp test.
    void setRoute(const QString& route, const QString& section) {
        console().routeKey->click();
        for (QChar c : route) console().digitKeys[size_t(c.digitValue())]->click();
        console().sectionKey->click();
        for (QChar c : section) console().digitKeys[size_t(c.digitValue())]->click();
        console().keypadResetButton->click();
        clock.advance(RouteSession::LampTestMs);
    }

    QString cell(int i) { return board().fareCells[size_t(i)]->value().toText(); }

    // What the strip shows, drawn afresh by a strip of the same properties.
    QImage stripFor(const QString& name, qint16 prefixMode) {
        StopNameDisplay reference(nullptr, &clock);
        reference.setLook(board().stopNameDisplay->look()), reference.setPrefixMode(prefixMode);
        reference.setStopName(name);
        return reference.stripImage();
    }
    QImage strip() { return board().stopNameDisplay->stripImage(); }
};
