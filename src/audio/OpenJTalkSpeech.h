#pragma once
// The speech engine of the announcement tape: Open JTalk with HTS voices.
//
// A text is cut into sentences; each sentence is synthesised by a separate
// open_jtalk process into a wave file, and the sentences play one after the
// other on the voice channel of the sound output, beside the four sound
// channels, with the long silence that
// Open JTalk puts before each sentence cut short. So the first sentence sounds
// while the rest is still being synthesised, and stopping silences the output
// at once and kills the processes that still run. Each synthesis runs in a
// process group of its own, so that the kill reaches whatever open_jtalk
// started (a wrapper script's children too), and it has a time limit: one
// that runs past it is killed and its sentence passed over, as one that
// fails. Everything happens on the user-interface thread; only the
// processes run outside it.
//
// The voices are the .htsvoice files of the voices folder and its subfolders
// (the shipped "mei_normal", and any the user adds), named by their base names.

#include "model/SoundOutput.h"
#include "model/SpeechEngine.h"

#include <QMap>
#include <QObject>
#include <QTemporaryDir>
#include <QTimer>
#include <deque>

class QProcess;

class OpenJTalkSpeech : public QObject, public SpeechEngine {
    Q_OBJECT
public:
    // Where the engine's parts are: the open_jtalk program, its dictionary
    // folder and the folders of the voices (searched with their subfolders;
    // of two voices with one name, the first folder's wins).
    struct Setup {
        QString program;
        QString dictionary;
        QStringList voiceFolders;
        // The time a sentence's synthesis may take: limitMs, and
        // limitMsPerCharacter more for each of its characters (1 s per 20).
        qint64 limitMs = 10000;
        qint64 limitMsPerCharacter = 50;
        // Debian's open_jtalk on the PATH, its NAIST dictionary, the voices
        // K40 ships and the voices the user adds.
        static Setup standard();
    };

    // The voice taken when none is chosen, or the chosen one is gone.
    static constexpr const char* PreferredVoice = "mei_normal";
    // Open JTalk reads one line of at most 1024 bytes; a longer sentence is cut
    // at a comma (or, without one, anywhere) into pieces of at most this many
    // characters.
    static constexpr int MaxSentence = 120;

    explicit OpenJTalkSpeech(SoundOutput& output, Setup setup = Setup::standard(),
                             QObject* parent = nullptr);
    ~OpenJTalkSpeech() override;

    // SpeechEngine. create() fails when the program, the dictionary or every
    // voice is missing. speak() adds the text after what is being said.
    bool create() override;
    void speak(const QString& text) override;
    void stop() override;
    bool isSpeaking() const override { return speaking_; }
    void release() override;
    QStringList voices() const override { return voicePaths_.keys(); }
    VoiceSettings voice() const override { return voice_; }
    void setVoice(const VoiceSettings& voice) override;

    // A first sentence longer than this is cut after its first comma, so that
    // speech starts as soon as the first clause is made.
    static constexpr int FirstPieceMax = 12;

    // The pieces a text is spoken in: sentences, cut after 。．！？!? and at
    // line ends, blanks trimmed, pieces of punctuation alone dropped, long
    // ones cut (MaxSentence), and a long first one cut (FirstPieceMax).
    static QStringList sentences(const QString& text);

    // How far the sentence on the output has been played, in ms; 0 when none
    // sounds.
    qint64 outputPositionMs() const;

signals:
    void speakingChanged(bool speaking);
    // A sentence starts to sound; its length in ms.
    void sentenceStarted(const QString& sentence, qint64 lengthMs);

private:
    struct Sentence {
        enum class State { Waiting, Synthesising, Ready, Failed };
        QString text;
        QString wavePath;
        QProcess* process = nullptr;
        qint64 group = 0; // the process group of its synthesis, while it may live
        State state = State::Waiting;
    };

    QString voicePath() const;
    void startSynthesis();
    void synthesised(QProcess* process, bool ok);
    void advance();
    void setSpeaking(bool speaking);

    SoundOutput& output_;
    Setup setup_;
    bool created_ = false;
    QMap<QString, QString> voicePaths_; // by name
    VoiceSettings voice_;
    QTemporaryDir waves_;
    int serial_ = 0;
    std::deque<Sentence> queue_; // the first one plays, or plays next
    bool playing_ = false;       // the first one is on the output
    bool speaking_ = false;
    QTimer poll_;
};
