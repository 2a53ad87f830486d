#pragma once
// Recording fakes of the services, for tests: they record every call and
// give scripted answers.

#include "widgets/CompanionDialogs.h"
#include "model/MessageBoxService.h"
#include "model/Clock.h"
#include "model/SoundOutput.h"
#include "model/SpeechEngine.h"
#include "widgets/TicketEngine.h"

#include <QDateTime>
#include <QList>
#include <QPointer>
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
    MsgAnswer show(const QString& text, const QString& title, MsgIcon icon,
                   MsgButtons buttons) override {
        shown.append({text, title, icon, buttons});
        if (!answers.isEmpty()) return answers.takeFirst();
        return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    }
    QList<ShownMessage> shown;
    QList<MsgAnswer> answers; // answers to give, in order; then Yes / Ok
};
// A clock whose time stands still until a test moves it; what is to run
// after a pause runs when advance() passes its time.
class FakeClock : public Clock {
public:
    QDateTime now() const override { return current; }
    qint64 monotonicMs() const override { return monotonic; }
    void after(int ms, QObject* context, std::function<void()> done) override {
        pending.append({monotonic + qMax(ms, 0), QPointer<QObject>(context), std::move(done)});
    }
    // Moves the clock by ms, running what falls due, in order.
    void advance(qint64 ms) {
        const qint64 until = monotonic + ms;
        for (;;) {
            qsizetype next = -1;
            for (qsizetype i = 0; i < pending.size(); ++i)
                if (pending[i].due <= until && (next < 0 || pending[i].due < pending[next].due))
                    next = i;
            if (next < 0) break;
            Pending p = pending.takeAt(next);
            current = current.addMSecs(p.due - monotonic);
            monotonic = p.due;
            if (p.context) p.done();
        }
        current = current.addMSecs(until - monotonic);
        monotonic = until;
    }
    // The pauses waiting to end, in ms from now.
    QList<qint64> waiting() const {
        QList<qint64> out;
        for (const Pending& p : pending) out << p.due - monotonic;
        return out;
    }
    QDateTime current{QDate(2024, 3, 5), QTime(9, 5, 7)};
    qint64 monotonic = 0;

private:
    struct Pending {
        qint64 due;
        QPointer<QObject> context;
        std::function<void()> done;
    };
    QList<Pending> pending;
};

// Records what is played and closed: "play S2 <file>" (with " midi" for a
// MIDI file, " wait" for a play that waits for the end), "play Voice <n>
// frames" for a sound made in memory, "close S1".
class RecordingSoundOutput : public SoundOutput {
public:
    Result play(Channel channel, const QString& file, Format format, Wait wait) override {
        record(u"play "_qs + channelName(channel) + u' ' + file +
               (format == Format::Midi ? u" midi"_qs : QString()) +
               (wait == Wait::ForEnd ? u" wait"_qs : QString()));
        return result;
    }
    Result play(Channel channel, std::shared_ptr<const PcmSound> sound) override {
        record(QStringLiteral("play %1 %2 frames").arg(channelName(channel)).arg(sound ? sound->frames() : 0));
        return result;
    }
    void close(Channel channel) override { record(u"close "_qs + channelName(channel)); }
    bool isPlaying(Channel) const override { return false; }
    qint64 positionMs(Channel) const override { return 0; }
    qint64 lengthMs(Channel) const override { return 0; }
    int sampleRate() const override { return 44100; }

    QStringList calls;
    Result result = Result::Played;
    std::function<void(const QString&)> hook; // sees each call first

private:
    void record(const QString& call) {
        if (hook) hook(call);
        calls << call;
    }
};

class FakeSpeech : public SpeechEngine {
public:
    bool create() override {
        calls << "create";
        created = canCreate;
        return created;
    }
    void speak(const QString& text) override { calls << "speak:" + text; }
    void stop() override { calls << "stop"; }
    bool isSpeaking() const override { return false; }
    void release() override {
        calls << "release";
        created = false;
    }
    QStringList voices() const override { return voiceNames; }
    VoiceSettings voice() const override { return current; }
    void setVoice(const VoiceSettings& v) override {
        calls << "voice:" + v.voice;
        current = v;
    }
    bool canCreate = true;
    bool created = false;
    QStringList voiceNames;
    VoiceSettings current;
    QStringList calls;
};

class FakeCompanionDialogs : public CompanionDialogs {
public:
    bool editDigitOptions(QWidget*, qint16 digitCount, DigitOptions& options) override {
        calls << QStringLiteral("digits:%1,%2,%3,%4")
                     .arg(digitCount)
                     .arg(options.zeroMode)
                     .arg(options.shift)
                     .arg(options.fillZero);
        if (during) during();
        if (digitAnswer) options = *digitAnswer;
        return digitAnswer.has_value();
    }
    void showVersion(QWidget*, const QString& text) override {
        calls << "version:" + text;
        if (during) during();
    }
    std::optional<QDate> chooseDate(QWidget*) override {
        calls << "date";
        return dateAnswer;
    }
    QString chooseFile(QWidget*, const QString& filter, const QString& title) override {
        calls << "file:" + title;
        lastFilter = filter;
        return fileAnswer;
    }
    QString chooseFolder(QWidget*, const QString& prompt) override {
        calls << "folder:" + prompt;
        return folderAnswer;
    }
    bool chooseColor(QWidget*, BgrColor& color, CustomColorTable& custom) override {
        calls << QStringLiteral("color:%1").arg(color, 0, 16);
        lastCustom = custom;
        if (colorAnswer) {
            color = *colorAnswer;
            custom = customAnswer;
        }
        return colorAnswer.has_value();
    }

    QStringList calls;
    std::function<void()> during; // called while a modal dialog is open
    std::optional<DigitOptions> digitAnswer; // nothing: cancelled
    std::optional<QDate> dateAnswer;
    QString fileAnswer, folderAnswer, lastFilter;
    std::optional<BgrColor> colorAnswer;
    CustomColorTable customAnswer{}, lastCustom{};
};

class FakeTicketEngine : public TicketEngine {
public:
    bool pluginInfo(const QString& path, TicketPluginInfo& out) override {
        calls << "info:" + path;
        if (!validPaths.contains(path)) return false;
        out = info;
        return true;
    }
    QString remarks(const QString& path) override {
        calls << "remarks:" + path;
        return QStringLiteral("remarks of ") + path;
    }
    QStringList companyNames(const QString& path) override {
        calls << "companies:" + path;
        return companies;
    }
    void drawTicket(QPaintDevice*, FareRow::TicketDrawing& t) override {
        calls << "draw:" + t.stopName;
        drawnCompanies << t.companyIndex;
    }
    QStringList calls;
    QStringList validPaths;
    QStringList companies;
    QList<int> drawnCompanies; // the company list position of each ticket drawn
    TicketPluginInfo info{};
};
