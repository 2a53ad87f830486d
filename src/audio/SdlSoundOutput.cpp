#include "audio/SdlSoundOutput.h"

#include "audio/SoundDecoder.h"
#include "model/AppInfo.h"

#include <QCoreApplication>
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
constexpr int PollMs = 1;

} // namespace

SdlSoundOutput::SdlSoundOutput() {
    if (!openOutput()) {
        // No usable default output: a silent one that keeps time.
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        openOutput();
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    }
    files_ = std::make_unique<SoundFiles>(rate_);
    // One decoding thread: files are decoded one after the other, and the
    // MIDI synthesiser is used by that thread alone.
    decoder_ = std::make_unique<QThreadPool>();
    decoder_->setMaxThreadCount(1);
}

SdlSoundOutput::~SdlSoundOutput() {
    if (output_) SDL_CloseAudioDevice(output_);
    if (sdlInitialised_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    decoder_->waitForDone();
    mixer_.clear();
}

bool SdlSoundOutput::openOutput() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The name under which the sound server lists the program's output.
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, AppInfo::title().toUtf8().constData());
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec want{};
    want.freq = PreferredRate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = BufferFrames;
    want.callback = &SdlSoundOutput::mixCallback;
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

void SdlSoundOutput::mixCallback(void* self, quint8* stream, int bytes) {
    static_cast<SdlSoundOutput*>(self)->mixer_.mix(reinterpret_cast<float*>(stream),
                                                   bytes / static_cast<int>(2 * sizeof(float)));
}

// ---- Playing -------------------------------------------------------------------------------

SoundOutput::Result SdlSoundOutput::play(Channel channel, const QString& file, Format format,
                                         Wait wait) {
    close(channel);
    Result failure = Result::Unplayable;
    const std::shared_ptr<const PcmSound> sound = decode(file, format, failure);
    if (!sound) return failure;
    // A play taken meanwhile (by a timer) on the same channel gives way to this one.
    close(channel);
    const Result r = start(channel, sound);
    if (r == Result::Played && wait == Wait::ForEnd) waitForEnd(channel);
    return r;
}

SoundOutput::Result SdlSoundOutput::play(Channel channel, std::shared_ptr<const PcmSound> sound) {
    close(channel);
    sound = SoundDecoder::atRate(std::move(sound), rate_);
    if (!sound) return Result::Unplayable;
    return start(channel, std::move(sound));
}

SoundOutput::Result SdlSoundOutput::start(Channel channel, std::shared_ptr<const PcmSound> sound) {
    Slot& s = slot(channel);
    s.voice = mixer_.add(sound);
    if (!s.voice) return Result::Unplayable; // every voice in use
    s.frames = sound->frames();
    mixer_.play(s.voice, 0);
    return Result::Played;
}

void SdlSoundOutput::close(Channel channel) {
    Slot& s = slot(channel);
    if (s.voice) mixer_.remove(s.voice);
    s = Slot{};
}

bool SdlSoundOutput::isPlaying(Channel channel) const {
    const Slot& s = slot(channel);
    return s.voice && mixer_.state(s.voice) == Mixer::State::Playing;
}

qint64 SdlSoundOutput::positionMs(Channel channel) const {
    const Slot& s = slot(channel);
    return s.voice ? mixer_.position(s.voice) * 1000 / rate_ : 0;
}

qint64 SdlSoundOutput::lengthMs(Channel channel) const {
    const Slot& s = slot(channel);
    return s.voice ? (s.frames * 1000 + rate_ - 1) / rate_ : 0;
}

// ---- Waiting -------------------------------------------------------------------------------

void SdlSoundOutput::waitUntil(const std::function<bool()>& done) {
    if (done()) return;
    if (!QCoreApplication::instance()) {
        while (!done())
            std::this_thread::sleep_for(std::chrono::milliseconds(PollMs));
        return;
    }
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(PollMs);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
    });
    poll.start();
    loop.exec();
}

// Until the voice has played to its end and at least its length has passed
// (the output plays a buffer behind the mixer), or until the channel is
// closed or given another sound meanwhile.
void SdlSoundOutput::waitForEnd(Channel channel) {
    const int voice = slot(channel).voice;
    const qint64 lengthMs = this->lengthMs(channel);
    QElapsedTimer elapsed;
    elapsed.start();
    waitUntil([&] {
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
    });
}

// ---- Decoding -----------------------------------------------------------------------------

std::shared_ptr<const PcmSound> SdlSoundOutput::decode(const QString& path, Format format,
                                                       Result& failure) {
    const QFileInfo file(path);
    if (!file.isFile()) return nullptr;
    if (std::shared_ptr<const PcmSound> sound = files_->kept(file, format)) return sound;

    ++decodeCount_;
    struct Job {
        std::atomic<bool> done{false};
        std::shared_ptr<const PcmSound> sound;
        Result failure = Result::Unplayable;
    };
    auto job = std::make_shared<Job>();
    SoundFiles* files = files_.get();
    decoder_->start([job, path, format, files] {
        job->sound = files->decode(path, format, job->failure);
        job->done.store(true, std::memory_order_release);
    });
    waitUntil([&] { return job->done.load(std::memory_order_acquire); });
    if (!job->sound) {
        failure = job->failure;
        return nullptr;
    }
    files_->keep(file, format, job->sound);
    return job->sound;
}
