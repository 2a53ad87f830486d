#include "audio/OpenJTalkSpeech.h"

#include "audio/SoundDecoder.h"
#include "model/AppInfo.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <csignal>
#include <unistd.h>

namespace {

// Kills every process of a synthesis: the program is the leader of a group
// of its own, whose id is its process id, and what it starts stays in it.
void killGroup(qint64 group) {
    if (group > 0) ::kill(-pid_t(group), SIGKILL);
}

// How often the end of a sentence on the output is looked for.
constexpr int PollMs = 10;

bool endsSentence(QChar c) {
    return QStringView(u"。．！？!?").contains(c);
}

// What may follow a sentence's end and still belong to it: closing brackets
// and quotes.
bool closesSentence(QChar c) {
    return QStringView(u"」』）)〕】\"'”’").contains(c);
}

bool isComma(QChar c) {
    return QStringView(u"、，,").contains(c);
}

// Open JTalk starts every sentence with about a third of a second of
// silence; all but LeadMs of it is cut, so that speech starts as soon as it
// is made and sentences follow each other with a natural pause.
constexpr qint64 LeadMs = 50;
constexpr float QuietLevel = 0.003f; // about -50 dB

void trimLeadingSilence(PcmSound& sound) {
    const auto loud = std::find_if(sound.samples.begin(), sound.samples.end(),
                                   [](float x) { return std::abs(x) > QuietLevel; });
    const qint64 firstFrame = (loud - sound.samples.begin()) / 2;
    const qint64 cut = std::max<qint64>(0, firstFrame - LeadMs * sound.rate / 1000);
    sound.samples.erase(sound.samples.begin(), sound.samples.begin() + 2 * cut);
}

// The voice peaks at -1 dBFS at most: Open JTalk's own output reaches 0.98
// (and full scale at a raised volume), which leaves no room for a chime
// sounding at the same time.
constexpr float VoicePeak = 0.891f; // -1 dBFS

void leaveHeadroom(PcmSound& sound) {
    float peak = 0;
    for (float x : sound.samples) peak = std::max(peak, std::abs(x));
    if (peak <= VoicePeak) return;
    const float gain = VoicePeak / peak;
    for (float& x : sound.samples) x *= gain;
}

} // namespace

OpenJTalkSpeech::Setup OpenJTalkSpeech::Setup::standard() {
    Setup s;
    s.program = QStandardPaths::findExecutable(QStringLiteral("open_jtalk"));
    s.dictionary = QStringLiteral("/var/lib/mecab/dic/open-jtalk/naist-jdic");
    s.voiceFolders = {AppInfo::dataDir() + QStringLiteral("/voices"), AppInfo::userVoicesDir()};
    return s;
}

OpenJTalkSpeech::OpenJTalkSpeech(SoundOutput& output, Setup setup, QObject* parent)
    : QObject(parent), output_(output), setup_(std::move(setup)) {
    poll_.setInterval(PollMs);
    connect(&poll_, &QTimer::timeout, this, &OpenJTalkSpeech::advance);
}

OpenJTalkSpeech::~OpenJTalkSpeech() {
    stop();
}

// ---- The engine and its voices ---------------------------------------------------------

bool OpenJTalkSpeech::create() {
    voicePaths_.clear();
    for (const QString& folder : setup_.voiceFolders) {
        if (folder.isEmpty()) continue;
        QDirIterator it(folder, {QStringLiteral("*.htsvoice")}, QDir::Files,
                        QDirIterator::Subdirectories);
        QStringList paths;
        while (it.hasNext())
            paths << it.next();
        paths.sort(); // the same voice under two names: the first path wins
        for (const QString& path : paths) {
            const QString name = QFileInfo(path).completeBaseName();
            if (!voicePaths_.contains(name)) voicePaths_.insert(name, path);
        }
    }
    const QFileInfo program(setup_.program);
    created_ = !setup_.program.isEmpty() && program.isFile() && program.isExecutable() &&
               QFileInfo::exists(setup_.dictionary + QStringLiteral("/sys.dic")) &&
               !voicePaths_.isEmpty() && waves_.isValid();
    return created_;
}

void OpenJTalkSpeech::release() {
    stop();
    created_ = false;
}

void OpenJTalkSpeech::setVoice(const VoiceSettings& voice) {
    voice_ = voice;
    voice_.speed = std::clamp(voice.speed, 0.5, 2.0);
    voice_.pitch = std::clamp(voice.pitch, -12.0, 12.0);
    voice_.volume = std::clamp(voice.volume, -20.0, 20.0);
}

QString OpenJTalkSpeech::voicePath() const {
    if (voicePaths_.contains(voice_.voice)) return voicePaths_.value(voice_.voice);
    const QString preferred = QString::fromLatin1(PreferredVoice);
    if (voicePaths_.contains(preferred)) return voicePaths_.value(preferred);
    return voicePaths_.isEmpty() ? QString() : voicePaths_.first();
}

// ---- Sentences ---------------------------------------------------------------------------

QStringList OpenJTalkSpeech::sentences(const QString& text) {
    // Each piece is a part of text, seen without a copy, so that a text
    // without punctuation costs no more than one with it.
    QStringList pieces;
    const auto cut = [&](QStringView piece) {
        piece = piece.trimmed();
        while (piece.size() > MaxSentence) {
            qsizetype at = MaxSentence;
            for (qsizetype i = MaxSentence - 1; i > 0; --i)
                if (isComma(piece[i])) {
                    at = i + 1;
                    break;
                }
            pieces << piece.left(at).trimmed().toString();
            piece = piece.sliced(at).trimmed();
        }
        // Punctuation alone says nothing.
        if (std::any_of(piece.begin(), piece.end(), [](QChar c) { return c.isLetterOrNumber(); }))
            pieces << piece.toString();
    };
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\n' || c == u'\r') {
            cut(QStringView(text).sliced(start, i - start));
            start = i + 1;
            continue;
        }
        if (endsSentence(c)) {
            while (i + 1 < text.size() &&
                   (endsSentence(text[i + 1]) || closesSentence(text[i + 1])))
                ++i;
            cut(QStringView(text).sliced(start, i + 1 - start));
            start = i + 1;
        }
    }
    cut(QStringView(text).sliced(start));
    // A long first sentence starts with its first clause, which is made the
    // soonest.
    if (!pieces.isEmpty() && pieces[0].size() > FirstPieceMax) {
        const QString first = pieces[0];
        for (qsizetype i = 1; i + 2 < first.size(); ++i)
            if (isComma(first[i])) {
                pieces[0] = first.left(i + 1);
                pieces.insert(1, first.mid(i + 1).trimmed());
                break;
            }
    }
    return pieces;
}

// ---- Speaking ------------------------------------------------------------------------------

void OpenJTalkSpeech::speak(const QString& text) {
    if (!created_) return;
    for (const QString& s : sentences(text))
        queue_.push_back(Sentence{s, {}, nullptr, 0, {}});
    if (queue_.empty()) return;
    setSpeaking(true);
    startSynthesis();
}

void OpenJTalkSpeech::startSynthesis() {
    // As many processes at once as the machine has cores, in the order of
    // the sentences.
    const int most = std::max(1, QThread::idealThreadCount());
    int running = 0;
    for (const Sentence& s : queue_)
        running += s.state == Sentence::State::Synthesising;
    for (Sentence& s : queue_) {
        if (running >= most) break;
        if (s.state != Sentence::State::Waiting) continue;
        s.wavePath = waves_.filePath(QStringLiteral("%1.wav").arg(++serial_));
        s.process = new QProcess(this);
        s.state = Sentence::State::Synthesising;
        ++running;
        QProcess* p = s.process;
        connect(p, &QProcess::finished, this, [this, p](int code, QProcess::ExitStatus status) {
            synthesised(p, status == QProcess::NormalExit && code == 0);
        });
        connect(p, &QProcess::errorOccurred, this, [this, p](QProcess::ProcessError e) {
            if (e == QProcess::FailedToStart) synthesised(p, false);
        });
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->setStandardOutputFile(QProcess::nullDevice());
        p->setChildProcessModifier([] { ::setpgid(0, 0); });
        p->start(setup_.program, {QStringLiteral("-x"), setup_.dictionary, QStringLiteral("-m"),
                                  voicePath(), QStringLiteral("-ow"), s.wavePath,
                                  QStringLiteral("-r"), QString::number(voice_.speed),
                                  QStringLiteral("-fm"), QString::number(voice_.pitch),
                                  QStringLiteral("-g"), QString::number(voice_.volume)});
        s.group = p->processId();
        // The text on standard input, as one line of UTF-8.
        p->write(s.text.toUtf8() + '\n');
        p->closeWriteChannel();
        // A synthesis that hangs says nothing.
        const qint64 limit = setup_.limitMs + setup_.limitMsPerCharacter * s.text.size();
        QTimer::singleShot(std::chrono::milliseconds(limit), p, [this, p] {
            p->disconnect(this);
            synthesised(p, false);
        });
    }
}

void OpenJTalkSpeech::synthesised(QProcess* process, bool ok) {
    process->deleteLater();
    const auto s = std::find_if(queue_.begin(), queue_.end(),
                                [process](const Sentence& s) { return s.process == process; });
    if (s == queue_.end()) return; // stopped meanwhile
    killGroup(s->group); // what the program left running, or all of it past its time
    s->group = 0;
    s->process = nullptr;
    s->state = ok ? Sentence::State::Ready : Sentence::State::Failed;
    startSynthesis();
    advance();
}

void OpenJTalkSpeech::advance() {
    if (playing_) {
        if (output_.isPlaying(SoundOutput::Channel::Voice)) return;
        output_.close(SoundOutput::Channel::Voice);
        playing_ = false;
        queue_.pop_front();
    }
    while (!queue_.empty() && queue_.front().state != Sentence::State::Synthesising &&
           queue_.front().state != Sentence::State::Waiting) {
        Sentence& s = queue_.front();
        std::shared_ptr<PcmSound> sound;
        if (s.state == Sentence::State::Ready)
            sound = SoundDecoder::decodeWave(s.wavePath, output_.sampleRate());
        QFile::remove(s.wavePath); // it is in memory now
        if (sound) {
            trimLeadingSilence(*sound);
            leaveHeadroom(*sound);
        }
        if (sound &&
            output_.play(SoundOutput::Channel::Voice, sound) == SoundOutput::Result::Played) {
            playing_ = true;
            poll_.start();
            emit sentenceStarted(s.text, output_.lengthMs(SoundOutput::Channel::Voice));
            return;
        }
        // A sentence that could not be made or played is passed over.
        queue_.pop_front();
    }
    poll_.stop();
    if (queue_.empty()) setSpeaking(false);
}

void OpenJTalkSpeech::stop() {
    poll_.stop();
    if (playing_) output_.close(SoundOutput::Channel::Voice);
    playing_ = false;
    for (Sentence& s : queue_) {
        if (s.process) {
            s.process->disconnect(this);
            killGroup(s.group);
            s.process->kill();
            s.process->waitForFinished(1000);
            delete s.process;
        }
        if (!s.wavePath.isEmpty()) QFile::remove(s.wavePath);
    }
    queue_.clear();
    setSpeaking(false);
}

qint64 OpenJTalkSpeech::outputPositionMs() const {
    return playing_ ? output_.positionMs(SoundOutput::Channel::Voice) : 0;
}

void OpenJTalkSpeech::setSpeaking(bool speaking) {
    if (speaking == speaking_) return;
    speaking_ = speaking;
    emit speakingChanged(speaking);
}
