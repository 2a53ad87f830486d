#include "audio/SdlMediaCommands.h"

#include "model/AppInfo.h"
#include "audio/SoundDecoder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QThreadPool>
#include <QTimer>
#include <SDL.h>
#include <algorithm>
#include <atomic>
#include <thread>

namespace {

constexpr int PreferredRate = 44100;
constexpr int BufferFrames = 1024;
// A synchronous play whose voice does not advance (an output that has stopped
// taking samples) ends this long after the sound's own length.
constexpr qint64 StallGraceMs = 1000;
constexpr int PollMs = 5;

} // namespace

struct SdlMediaCommands::Decode {
    QString path;
    QString type;
    QString key;
    qint64 size = 0;
    qint64 modified = 0;
    std::atomic<bool> done{false};
    std::shared_ptr<PcmSound> sound; // when done and good
    qint32 error = MediaError::None; // when done and bad
};

SdlMediaCommands::SdlMediaCommands() {
    if (!openOutput()) {
        // No usable default output: a silent one that keeps time.
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        openOutput();
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    }
    midi_ = std::make_unique<MidiRenderer>(rate_);
    // One decoding thread: files are decoded one after the other, and the
    // MIDI synthesiser is used by that thread alone.
    decoder_ = std::make_unique<QThreadPool>();
    decoder_->setMaxThreadCount(1);
    if (QCoreApplication::instance()) {
        collector_ = std::make_unique<QTimer>();
        collector_->setInterval(PollMs);
        collector_->callOnTimeout([this] { collect(); });
    }
}

SdlMediaCommands::~SdlMediaCommands() {
    if (output_) SDL_CloseAudioDevice(output_);
    if (sdlInitialised_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    collector_.reset();
    decoder_->waitForDone();
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
        const auto it = devices_.find(c.device.toLower());
        if (it == devices_.end()) return MediaError::InvalidDeviceName;
        it->playWhenReady = false;
        if (!it->decoding) mixer_.stop(it->voice);
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
    const QFileInfo file(c.device);
    if (!file.isFile()) return MediaError::FileNotFound;

    const QString key = type + u'|' + QString::number(rate_) + u'|' + file.absoluteFilePath();
    if (const std::shared_ptr<PcmSound> sound = kept(key, file)) return add(alias, sound);
    Device device;
    device.decoding = startDecode(c.device, type);
    device.decoding->key = key;
    device.decoding->size = file.size();
    device.decoding->modified = file.lastModified().toMSecsSinceEpoch();
    const std::shared_ptr<Decode> decoding = device.decoding;
    devices_.insert(alias.toLower(), device);
    if (collector_ && !collector_->isActive()) collector_->start();
    if (!c.wait) return MediaError::None;
    waitFor(*decoding);
    collect();
    if (!decoding->sound) return decoding->error;
    return find(alias) ? MediaError::None : MediaError::Hardware;
}

// ---- Decoding ----------------------------------------------------------------------------

std::shared_ptr<SdlMediaCommands::Decode> SdlMediaCommands::startDecode(const QString& path,
                                                                         const QString& type) {
    ++decodeCount_;
    auto d = std::make_shared<Decode>();
    d->path = path;
    d->type = type;
    const int rate = rate_;
    MidiRenderer* midi = midi_.get();
    auto run = [d, rate, midi] {
        if (d->type == u"sequencer") {
            if (!midi->available())
                d->error = MediaError::CannotLoadDriver;
            else
                d->sound = midi->render(d->path);
        } else {
            d->sound = SoundDecoder::decodeWave(d->path, rate);
        }
        if (!d->sound && d->error == MediaError::None) d->error = MediaError::InvalidFile;
        d->done.store(true, std::memory_order_release);
    };
    if (collector_)
        decoder_->start(run);
    else
        run(); // without an event loop there is nothing to keep going meanwhile
    return d;
}

void SdlMediaCommands::waitFor(const Decode& decode) {
    if (decode.done.load(std::memory_order_acquire)) return;
    if (!QCoreApplication::instance()) {
        while (!decode.done.load(std::memory_order_acquire))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return;
    }
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (decode.done.load(std::memory_order_acquire)) loop.quit();
    });
    poll.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void SdlMediaCommands::collect() {
    bool pending = false;
    for (auto it = devices_.begin(); it != devices_.end();) {
        Device& d = *it;
        if (!d.decoding) {
            ++it;
            continue;
        }
        if (!d.decoding->done.load(std::memory_order_acquire)) {
            pending = true;
            ++it;
            continue;
        }
        // A sound that could not be made closes its device.
        const std::shared_ptr<Decode> decode = std::move(d.decoding);
        const int voice = decode->sound ? mixer_.add(decode->sound) : 0;
        if (!voice) {
            it = devices_.erase(it);
            continue;
        }
        const QFileInfo file(decode->path);
        keep(decode->key, file, decode->sound);
        d.voice = voice;
        d.frames = decode->sound->frames();
        if (d.playWhenReady)
            mixer_.play(voice, d.playFromMs < 0 ? 0 : std::min(d.playFromMs * rate_ / 1000, d.frames));
        ++it;
    }
    if (!pending && collector_) collector_->stop();
}

std::shared_ptr<PcmSound> SdlMediaCommands::kept(const QString& key, const QFileInfo& file) {
    const auto it = std::find_if(kept_.begin(), kept_.end(),
                                 [&](const Kept& k) { return k.key == key; });
    if (it == kept_.end()) return nullptr;
    if (it->size != file.size() || it->modified != file.lastModified().toMSecsSinceEpoch()) {
        kept_.erase(it); // the file changed
        return nullptr;
    }
    Kept k = std::move(*it);
    kept_.erase(it);
    kept_.push_back(std::move(k)); // the most recently used
    return kept_.back().sound;
}

void SdlMediaCommands::keep(const QString& key, const QFileInfo& file,
                            const std::shared_ptr<PcmSound>& sound) {
    std::erase_if(kept_, [&](const Kept& k) { return k.key == key; });
    // A file changed while it was decoded is not kept as it was.
    if (!file.isFile()) return;
    kept_.push_back({key, file.size(), file.lastModified().toMSecsSinceEpoch(), sound});
    const auto bytes = [](const Kept& k) { return qint64(k.sound->samples.size() * sizeof(float)); };
    qint64 total = 0;
    for (const Kept& k : kept_) total += bytes(k);
    while (total > MaxKeptBytes && kept_.size() > 1) {
        total -= bytes(kept_.front());
        kept_.erase(kept_.begin());
    }
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
    Device device;
    device.voice = mixer_.add(sound);
    if (!device.voice) return MediaError::Hardware; // every voice in use
    device.frames = sound->frames();
    devices_.insert(alias.toLower(), device);
    return MediaError::None;
}

qint32 SdlMediaCommands::play(const MediaCommand& c) {
    const auto it = devices_.find(c.device.toLower());
    if (it == devices_.end()) return MediaError::InvalidDeviceName;
    if (it->decoding) {
        // Plays as soon as its sound is ready.
        it->playWhenReady = true;
        it->playFromMs = c.fromMs.value_or(-1);
        if (!c.wait) return MediaError::None;
        const std::shared_ptr<Decode> decoding = it->decoding;
        waitFor(*decoding);
        collect();
        if (!decoding->sound) return decoding->error;
        const Device* ready = find(c.device);
        if (!ready || ready->decoding) return MediaError::None; // closed meanwhile
        const qint64 from = mixer_.position(ready->voice);
        waitForEnd(ready->voice, ((ready->frames - from) * 1000 + rate_ - 1) / rate_);
        return MediaError::None;
    }
    const Device* d = &*it;
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
    if (d && d->decoding) return d->playWhenReady;
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
