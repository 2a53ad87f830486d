#pragma once
// The mixer of the audio output: every open sound device is one voice, and
// the voices that play are added together into the output buffer.
//
// The audio callback calls mix() on the audio thread; everything else is
// called on the user-interface thread. The two never wait for each other:
// the user-interface thread hands its changes (a voice added, played,
// stopped or removed) to the audio thread through a queue of fixed size, and
// the audio thread publishes where each voice stands through atomic values.
// mix() takes no lock and allocates nothing; a removed sound is freed on the
// user-interface thread once the audio thread has let go of it.

#include "model/PcmSound.h"

#include <array>
#include <atomic>
#include <map>
#include <memory>
#include <vector>

class Mixer {
public:
    enum class State {
        Absent,   // no voice of that id
        Stopped,  // opened or stopped, not sounding
        Playing,  // sounding
        Finished, // played to its end
    };
    // Voices that can be open at once.
    static constexpr int MaxVoices = 256;

    Mixer();
    ~Mixer();
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    // Adds a stopped voice at position 0 and returns its id; 0 when every
    // voice is in use.
    int add(std::shared_ptr<const PcmSound> sound);
    // Removes a voice; it falls silent at once.
    void remove(int id);
    // Removes every voice.
    void clear();
    // Starts a voice at a frame; false for an unknown id.
    bool play(int id, qint64 fromFrame);
    // Stops a voice where it is.
    void stop(int id);

    // Where a voice stands: as the audio thread last mixed it, or as the
    // user-interface thread last set it when the audio thread has not yet
    // taken that change.
    State state(int id) const;
    qint64 position(int id) const;
    int voiceCount() const { return static_cast<int>(voices_.size()); }

    // Adds the playing voices into out (frames stereo frames, overwritten),
    // advances them and passes the sum through limited(). The audio thread's
    // side.
    void mix(float* out, int frames);
    // Applies the changes handed over so far, as mix() does first. Also the
    // audio thread's side: an output that mixes on the thread that makes the
    // changes calls it after each one, so that the queue never fills.
    void takeChanges();

    // A sample of the sum as it goes out: unchanged up to 0.9 (about
    // -0.9 dBFS); beyond, bent smoothly below full scale, so that sounds
    // that meet are never clipped.
    static float limited(float x);

private:
    struct Command {
        enum class Kind : quint8 { Add, Play, Stop, Remove } kind = Kind::Add;
        int slot = 0;
        const PcmSound* sound = nullptr;
        qint64 from = 0;
        quint64 sequence = 0;
    };
    // A voice as the user-interface thread knows it.
    struct Voice {
        std::shared_ptr<const PcmSound> sound;
        int slot = 0;
        quint64 sequence = 0; // of the last change handed over
        State state = State::Stopped;
        qint64 position = 0;
    };
    // A voice slot as the audio thread mixes it, and what it publishes.
    struct Slot {
        const PcmSound* sound = nullptr;
        qint64 position = 0;
        State state = State::Absent;
        std::atomic<quint64> applied{0};
        std::atomic<qint64> publishedPosition{0};
        std::atomic<int> publishedState{int(State::Absent)};
    };
    static constexpr size_t QueueSize = 4096;

    void send(const Command& command);
    void apply(const Command& command);
    void releaseRetired();
    const Voice* find(int id) const;

    // User-interface thread.
    std::map<int, Voice> voices_;
    std::vector<bool> slotUsed_;
    std::vector<std::pair<quint64, std::shared_ptr<const PcmSound>>> retired_;
    int nextId_ = 1;
    quint64 nextSequence_ = 1;

    // Shared: a single-producer, single-consumer queue of commands.
    std::array<Command, QueueSize> queue_{};
    std::atomic<size_t> queueHead_{0}; // next to read (audio thread)
    std::atomic<size_t> queueTail_{0}; // next to write (user-interface thread)
    std::atomic<quint64> appliedSequence_{0};

    // Audio thread.
    std::unique_ptr<std::array<Slot, MaxVoices>> slots_;
};
