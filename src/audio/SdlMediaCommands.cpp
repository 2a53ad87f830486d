#include "audio/SdlMediaCommands.h"

#include "model/AppInfo.h"
#include "audio/SoundDecoder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <SDL.h>
#include <algorithm>

namespace {

constexpr int PreferredRate = 44100;
constexpr int BufferFrames = 1024;
// A synchronous play whose voice does not advance (an output that has stopped
// taking samples) ends this long after the sound's own length.
constexpr qint64 StallGraceMs = 1000;
constexpr int PollMs = 5;

} // namespace

SdlMediaCommands::SdlMediaCommands() {
    if (!openOutput()) {
        // No usable default output: a silent one that keeps time.
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        openOutput();
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    }
    midi_ = std::make_unique<MidiRenderer>(rate_);
}

SdlMediaCommands::~SdlMediaCommands() {
    if (output_) SDL_CloseAudioDevice(output_);
    if (sdlInitialised_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    mixer_.clear();
}

bool SdlMediaCommands::openOutput() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The name under which the sound server lists the program's output.
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, AppInfo::title().toUtf8().constData());
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec want{};
    want.freq = PreferredRate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = BufferFrames;
    want.callback = &SdlMediaCommands::mixCallback;
    want.userdata = this;
    SDL_AudioSpec have{};
    output_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (output_ == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    sdlInitialised_ = true;
    rate_ = have.freq;
    driver_ = QString::fromUtf8(SDL_GetCurrentAudioDriver());
    SDL_PauseAudioDevice(output_, 0);
    return true;
}

void SdlMediaCommands::mixCallback(void* self, quint8* stream, int bytes) {
    static_cast<SdlMediaCommands*>(self)->mixer_.mix(reinterpret_cast<float*>(stream),
                                                     bytes / static_cast<int>(2 * sizeof(float)));
}

qint32 SdlMediaCommands::sendString(const QString& command) {
    MediaCommand c;
    if (const qint32 error = parseMediaCommand(command, c)) return error;
    switch (c.verb) {
    case MediaCommand::Verb::Open:
        return open(c);
    case MediaCommand::Verb::Play:
        return play(c);
    case MediaCommand::Verb::Stop: {
        const Device* d = find(c.device);
        if (!d) return MediaError::InvalidDeviceName;
        mixer_.stop(d->voice);
        return MediaError::None;
    }
    case MediaCommand::Verb::Close:
        return close(c.device);
    }
    return MediaError::UnrecognizedCommand;
}

qint32 SdlMediaCommands::open(const MediaCommand& c) {
    const QString alias = c.alias.isEmpty() ? c.device : c.alias;
    if (devices_.contains(alias.toLower())) return MediaError::DuplicateAlias;
    QString type = c.type;
    if (type.isEmpty()) {
        const QString suffix = QFileInfo(c.device).suffix().toLower();
        if (suffix == u"wav")
            type = QStringLiteral("waveaudio");
        else if (suffix == u"mid" || suffix == u"midi")
            type = QStringLiteral("sequencer");
        else
            return MediaError::ExtensionNotFound;
    }
    if (type != u"waveaudio" && type != u"sequencer") return MediaError::InvalidDeviceName;
    if (!output_) return MediaError::Hardware;
    if (!QFileInfo(c.device).isFile()) return MediaError::FileNotFound;

    if (type == u"sequencer" && !midi_->available()) return MediaError::CannotLoadDriver;

    const std::shared_ptr<PcmSound> sound =
        type == u"waveaudio" ? SoundDecoder::decodeWave(c.device, rate_) : midi_->render(c.device);
    if (!sound) return MediaError::InvalidFile;
    return add(alias, sound);
}

qint32 SdlMediaCommands::openPcm(const QString& alias, const float* samples, qint64 frames,
                                 int channels, int rate) {
    const bool unnamable =
        std::any_of(alias.begin(), alias.end(), [](QChar c) { return c.isSpace() || c == u'"'; });
    if (alias.isEmpty() || unnamable) return MediaError::MissingDeviceName;
    if (devices_.contains(alias.toLower())) return MediaError::DuplicateAlias;
    if (!output_) return MediaError::Hardware;
    const std::shared_ptr<PcmSound> sound =
        samples ? SoundDecoder::toStereo(samples, frames, channels, rate, rate_) : nullptr;
    if (!sound) return MediaError::InvalidFile;
    return add(alias, sound);
}

qint32 SdlMediaCommands::add(const QString& alias, const std::shared_ptr<PcmSound>& sound) {
    devices_.insert(alias.toLower(), Device{mixer_.add(sound), sound->frames()});
    return MediaError::None;
}

qint32 SdlMediaCommands::play(const MediaCommand& c) {
    const Device* d = find(c.device);
    if (!d) return MediaError::InvalidDeviceName;
    const Device device = *d; // the table may change while a synchronous play waits
    qint64 from = mixer_.position(device.voice);
    if (c.fromMs) {
        if (*c.fromMs > (device.frames * 1000 + rate_ - 1) / rate_) return MediaError::OutOfRange;
        from = std::min(*c.fromMs * rate_ / 1000, device.frames);
    }
    mixer_.play(device.voice, from);
    if (c.wait) waitForEnd(device.voice, ((device.frames - from) * 1000 + rate_ - 1) / rate_);
    return MediaError::None;
}

qint32 SdlMediaCommands::close(const QString& name) {
    if (name.compare(u"all", Qt::CaseInsensitive) == 0) {
        for (const Device& d : std::as_const(devices_))
            mixer_.remove(d.voice);
        devices_.clear();
        return MediaError::None;
    }
    const auto it = devices_.find(name.toLower());
    if (it == devices_.end()) return MediaError::InvalidDeviceName;
    mixer_.remove(it->voice);
    devices_.erase(it);
    return MediaError::None;
}

const SdlMediaCommands::Device* SdlMediaCommands::find(const QString& alias) const {
    const auto it = devices_.constFind(alias.toLower());
    return it == devices_.constEnd() ? nullptr : &*it;
}

// Waits until the voice has played to its end and at least its length has
// passed (the output plays a buffer behind the mixer), or until it is stopped
// or closed meanwhile.
void SdlMediaCommands::waitForEnd(int voice, qint64 lengthMs) {
    QElapsedTimer elapsed;
    elapsed.start();
    auto done = [&] {
        switch (mixer_.state(voice)) {
        case Mixer::State::Playing:
            return elapsed.elapsed() >= lengthMs + StallGraceMs;
        case Mixer::State::Finished:
            return elapsed.elapsed() >= lengthMs;
        case Mixer::State::Stopped:
        case Mixer::State::Absent:
            break;
        }
        return true;
    };
    if (done()) return;
    if (!QCoreApplication::instance()) {
        while (!done())
            SDL_Delay(PollMs);
        return;
    }
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(PollMs);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
    });
    poll.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

bool SdlMediaCommands::isOpen(const QString& alias) const {
    return find(alias) != nullptr;
}

bool SdlMediaCommands::isPlaying(const QString& alias) const {
    const Device* d = find(alias);
    return d && mixer_.state(d->voice) == Mixer::State::Playing;
}

qint64 SdlMediaCommands::positionMs(const QString& alias) const {
    const Device* d = find(alias);
    return d ? mixer_.position(d->voice) * 1000 / rate_ : 0;
}

qint64 SdlMediaCommands::lengthMs(const QString& alias) const {
    const Device* d = find(alias);
    return d ? (d->frames * 1000 + rate_ - 1) / rate_ : 0;
}
