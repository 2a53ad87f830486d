#include "model/AnnouncementTape.h"

#include "model/FareData.h"
#include "model/K40Error.h"
#include "model/SafeFile.h"
#include "model/SettingsRecord.h"
#include "model/SoundChannels.h"
#include "model/SpeechEngine.h"

AnnouncementTape::AnnouncementTape(SpeechEngine* engine, QObject* parent)
    : QObject(parent), engine_(engine) {}

qint16 AnnouncementTape::stepFlag(int p) const {
    return p >= 1 && p <= count() ? rows_[size_t(p - 1)].stepFlag : 0;
}

qint16 AnnouncementTape::soundFlag(int p) const {
    return p >= 1 && p <= count() ? rows_[size_t(p - 1)].soundFlag : 0;
}

void AnnouncementTape::createSpeech() {
    speechAvailable_ = engine_ && engine_->create();
    setControls(speechAvailable_, buttonsEnabled_);
}

void AnnouncementTape::releaseSpeech() {
    if (speechAvailable_) engine_->release();
    speechAvailable_ = false;
}

bool AnnouncementTape::load(const QString& folderWithSeparator, const QString& route) {
    try {
        const QString path =
            FareData::findDataFile(folderWithSeparator, route + QStringLiteral("tp.csv"));
        // Only a regular file of at most TapeFile::MaxFileBytes: a FIFO or a link to
        // a device closes the tape like any other bad file.
        const SafeFile::Reading file = SafeFile::read(path, TapeFile::MaxFileBytes);
        if (file.status == SafeFile::Reading::Status::TooLarge) throw K40Error(K40Error::OutOfMemory);
        if (!file.ok()) throw K40Error(K40Error::PathFileAccessError);
        rows_ = TapeFile::parse(file.bytes);
        position_ = 0;
    } catch (const K40Error&) {
        lastLoadFailed_ = true;
        setControls(false, buttonsEnabled_);
        return false;
    }
    lastLoadFailed_ = false;
    if (speechAvailable_) setControls(true, true);
    return true;
}

void AnnouncementTape::setDisplayCleared(bool cleared) {
    setControls(!cleared && speechAvailable_ && !lastLoadFailed_, buttonsEnabled_);
}

void AnnouncementTape::setControls(bool group, bool buttons) {
    if (group == controlsEnabled_ && buttons == buttonsEnabled_) return;
    controlsEnabled_ = group;
    buttonsEnabled_ = buttons;
    emit controlsChanged();
}

// ---- Playing the tape -------------------------------------------------------------

void AnnouncementTape::next(const SoundChannels& sounds, const SettingsRecord& settings) {
    ++position_;
    if (position_ > count()) {
        position_ = count(); // the end of the tape: nothing more to say
        return;
    }
    const QString* byFlag = chimeFor(settings, soundFlag(position_));
    const QString* chime =
        settings.tapeSoundChoice == TapeSoundChoice::Always ? &settings.tapeSound : byFlag;
    if (chime) sounds.play(*chime, SoundChannels::Channel::S3, chimePlay(settings));
    speakRow(position_);
}

void AnnouncementTape::back(const SoundChannels& sounds, const SettingsRecord& settings) {
    --position_;
    if (position_ < 1) {
        position_ = 1; // the start of the tape: nothing is said
        return;
    }
    // Going back, the chime is the row's own, whatever else is chosen.
    if (const QString* chime = chimeFor(settings, soundFlag(position_)))
        sounds.play(*chime, SoundChannels::Channel::S2, chimePlay(settings));
    speakRow(position_);
}

void AnnouncementTape::speakRow(int p) {
    if (!speechAvailable_ || p < 1 || p > count()) return;
    engine_->stop();
    engine_->speak(rows_[size_t(p - 1)].text);
}

void AnnouncementTape::stop() {
    if (speechAvailable_) engine_->stop();
}

const QString* AnnouncementTape::chimeFor(const SettingsRecord& s, qint16 flag) {
    switch (flag) {
    case 1: case 2: case 3: return &s.tapeSoundsByFlag[size_t(flag - 1)];
    default: return nullptr;
    }
}

SoundChannels::Play AnnouncementTape::chimePlay(const SettingsRecord& s) {
    return s.tapeSoundTiming == SoundTiming::Sync ? SoundChannels::Play::Sync
                                                  : SoundChannels::Play::Async;
}
