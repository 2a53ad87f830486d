#include "model/AnnouncementTape.h"

#include "model/Cp932.h"
#include "model/FareData.h"
#include "model/K40Error.h"
#include "model/SettingsRecord.h"
#include "model/SoundChannels.h"
#include "model/SpeechEngine.h"

#include <QFile>
#include <limits>

namespace {

// Lines end in CR LF, as written on Windows, or in LF alone.
QStringList splitLines(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

// The fields of one line, in order.
void fieldsOf(const QString& line, QStringList& out) {
    qsizetype i = 0;
    const qsizetype n = line.size();
    if (line.trimmed().isEmpty()) return;
    for (;;) {
        while (i < n && (line[i] == u' ' || line[i] == u'\t')) ++i;
        QString field;
        if (i < n && line[i] == u'"') {
            ++i;
            while (i < n && line[i] != u'"') field += line[i++];
            if (i < n) ++i; // the closing quote
            while (i < n && line[i] != u',') ++i;
        } else {
            while (i < n && line[i] != u',') field += line[i++];
            field = field.trimmed();
        }
        out << field;
        if (i >= n) break;
        ++i; // the comma
        if (i >= n) {
            out << QString(); // a comma at the line's end leaves an empty field
            break;
        }
    }
}

qint16 toFlag(const QString& field) {
    bool ok = false;
    const qlonglong v = field.trimmed().toLongLong(&ok);
    if (!ok) throw K40Error(K40Error::TypeMismatch);
    if (v < std::numeric_limits<qint16>::min() || v > std::numeric_limits<qint16>::max())
        throw K40Error(K40Error::Overflow);
    return static_cast<qint16>(v);
}

} // namespace

std::vector<TapeRow> AnnouncementTape::parse(const QByteArray& bytes) {
    const QStringList lines = splitLines(Cp932::decode(bytes));
    QStringList fields;
    for (const QString& line : lines) fieldsOf(line, fields);
    std::vector<TapeRow> rows(static_cast<size_t>(lines.size()));
    qsizetype f = 0;
    size_t k = 0;
    while (f < fields.size()) {
        if (k >= rows.size()) throw K40Error(K40Error::SubscriptOutOfRange);
        if (fields.size() - f < 3) throw K40Error(K40Error::InputPastEnd);
        rows[k].text = fields[f];
        rows[k].stepFlag = toFlag(fields[f + 1]);
        rows[k].soundFlag = toFlag(fields[f + 2]);
        f += 3;
        ++k;
    }
    return rows;
}

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
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) throw K40Error(K40Error::PathFileAccessError);
        if (file.size() > MaxFileBytes) throw K40Error(K40Error::OutOfMemory);
        rows_ = parse(file.readAll());
        position_ = 0;
    } catch (const K40Error&) {
        setControls(false, buttonsEnabled_);
        return false;
    }
    if (speechAvailable_) setControls(true, true);
    return true;
}

void AnnouncementTape::setDisplayCleared(bool cleared) {
    setControls(!cleared && speechAvailable_, buttonsEnabled_);
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
    const QString* chime = settings.TapeSoundAlways != 0 ? &settings.TapeSoundFile : byFlag;
    if (chime) sounds.play(*chime, QStringLiteral("S3"), chimePlay(settings));
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
        sounds.play(*chime, QStringLiteral("S2"), chimePlay(settings));
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
    case 1: return &s.TapeSound1;
    case 2: return &s.TapeSound2;
    case 3: return &s.TapeSound3;
    default: return nullptr;
    }
}

SoundChannels::Play AnnouncementTape::chimePlay(const SettingsRecord& s) {
    return s.TapeSoundSync != 0 ? SoundChannels::Play::Sync : SoundChannels::Play::Async;
}
