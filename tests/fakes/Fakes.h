#pragma once
// Recording fakes of the services, for tests: they record every call and
// give scripted answers.

#include "platform/KTP4Res.h"
#include "platform/Services.h"
#include "platform/mdlSeiriken.h"

#include <QDateTime>
#include <QList>
#include <QStringList>
#include <functional>

struct ShownMessage {
    QString text;
    QString title;
    MsgIcon icon;
    MsgButtons buttons;
};

class RecordingMessageBox : public MessageBoxService {
public:
    MsgAnswer show(QWidget*, const QString& text, const QString& title, MsgIcon icon,
                   MsgButtons buttons) override {
        shown.append({text, title, icon, buttons});
        if (!answers.isEmpty()) return answers.takeFirst();
        return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    }
    QList<ShownMessage> shown;
    QList<MsgAnswer> answers; // answers to give, in order; then Yes / Ok
};

// A clock whose time stands still until a test moves it; every wait is
// recorded and moves the clock by its length.
class FakeClock : public Clock {
public:
    QDateTime now() const override { return current; }
    qint64 monotonicMs() const override { return monotonic; }
    void wait(int ms) override {
        waits.append(ms);
        if (onWait) onWait(ms);
        advance(ms);
    }
    void advance(qint64 ms) {
        monotonic += ms;
        current = current.addMSecs(ms);
    }
    QDateTime current{QDate(2024, 3, 5), QTime(9, 5, 7)};
    qint64 monotonic = 0;
    QList<int> waits;
    std::function<void(int)> onWait; // called at each wait, before the clock moves
};

class RecordingMediaCommands : public MediaCommands {
public:
    qint32 sendString(const QString& command) override {
        commands << command;
        return result;
    }
    QStringList commands;
    qint32 result = 0;
};

class FakeSpeech : public SpeechEngine {
public:
    bool create() override {
        calls << "create";
        created = canCreate;
        return created;
    }
    void speak(const QString& text) override {
        calls << "speak:" + text;
        spoken << text;
    }
    void stopSpeaking() override { calls << "stop"; }
    bool speakingFlag() const override { return speaking; }
    void settingsDialog(QWidget*, const QString& title) override { calls << "dialog:" + title; }
    void release() override {
        calls << "release";
        created = false;
    }
    bool canCreate = true;
    bool created = false;
    bool speaking = false;
    QStringList calls;
    QStringList spoken;
};

class FakeCompanionDialogs : public CompanionDialogs {
public:
    qint32 Call_dlg100(QWidget*, qint16 keta, qint16& zeroMode, qint16& shift,
                       qint16& fillZero) override {
        calls << QStringLiteral("dlg100:%1,%2,%3,%4").arg(keta).arg(zeroMode).arg(shift).arg(fillZero);
        if (during) during();
        if (dlg100Result == 1) {
            zeroMode = dlg100ZeroMode;
            shift = dlg100Shift;
            fillZero = dlg100FillZero;
        }
        return dlg100Result;
    }
    qint32 Call_dlg110(QWidget*, qint32 kind, const QString& text) override {
        calls << QStringLiteral("dlg110:%1:").arg(kind) + text;
        if (during) during();
        return 1;
    }
    qint32 Call_dlg111(QWidget*, SystemTime& date) override {
        calls << "dlg111";
        if (dateResult) date = chosenDate;
        return dateResult;
    }
    QString Kt3FileDlg(QWidget*, qint32, const QString& filter, const QString&,
                       const QString& title) override {
        calls << "file:" + title;
        lastFilter = filter;
        return fileAnswer;
    }
    QString Kt3FolderDlg(QWidget*, const QString& prompt) override {
        calls << "folder:" + prompt;
        return folderAnswer;
    }
    qint32 Kt3ChooseColor(QWidget*, qint32& colour, CustomColorTable& custom) override {
        calls << QStringLiteral("color:%1").arg(colour, 0, 16);
        lastCustom = custom;
        if (colorResult) {
            colour = colorAnswer;
            custom = customAnswer;
        }
        return colorResult;
    }

    QStringList calls;
    std::function<void()> during; // called while a modal dialog is open
    qint32 dlg100Result = 0;
    qint16 dlg100ZeroMode = 0, dlg100Shift = 0, dlg100FillZero = 0;
    qint32 dateResult = 0;
    SystemTime chosenDate;
    QString fileAnswer, folderAnswer, lastFilter;
    qint32 colorResult = 0;
    qint32 colorAnswer = 0;
    CustomColorTable customAnswer{}, lastCustom{};
};

class FakeTicketEngine : public TicketPluginEngine {
public:
    qint32 KT4_GetPlgInfo(const QString& path, PlgInfo& out) override {
        calls << "info:" + path;
        if (!validPaths.contains(path)) return 0;
        out = info;
        return 1;
    }
    qint32 KT4_SetPlgComment(const QString& path, QPlainTextEdit*) override {
        calls << "comment:" + path;
        return 1;
    }
    qint32 KT4_SetCorpAddList(const QString& path, QComboBox*) override {
        calls << "corp:" + path;
        return 1;
    }
    qint32 KT4_DrawSeiriken(const QString& path, QPaintDevice*, QString& stopName,
                            QString& dateText, QString& timeText, qint32 routeNumber,
                            qint16 ticketNumber, qint16 section, qint16 companyIndex) override {
        calls << QStringLiteral("draw:%1|%2|%3|%4|%5|%6|%7|%8")
                     .arg(path, stopName, dateText, timeText)
                     .arg(routeNumber)
                     .arg(ticketNumber)
                     .arg(section)
                     .arg(companyIndex);
        return 1;
    }
    QStringList calls;
    QStringList validPaths;
    PlgInfo info{};
};
