#pragma once
// The mixer of the audio output: every open sound device is one voice, and
// the voices that play are added together into the output buffer. The audio
// callback calls mix() on the audio thread; everything else is called on the
// user-interface thread. One short lock guards the voices.

#include "audio/PcmSound.h"

#include <map>
#include <memory>
#include <mutex>

class Mixer {
public:
    enum class State {
        Absent,   // no voice of that id
        Stopped,  // opened or stopped, not sounding
        Playing,  // sounding
        Finished, // played to its end
    };

    // Adds a stopped voice at position 0 and returns its id (never 0).
    int add(std::shared_ptr<const PcmSound> sound);
    // Removes a voice; it falls silent at once.
    void remove(int id);
    // Removes every voice.
    void clear();
    // Starts a voice at a frame; false for an unknown id.
    bool play(int id, qint64 fromFrame);
    // Stops a voice where it is.
    void stop(int id);

    State state(int id) const;
    qint64 position(int id) const;
    int voiceCount() const;

    // Adds the playing voices into out (frames stereo frames, overwritten),
    // advances them and limits the sum to -1..1.
    void mix(float* out, int frames);

private:
    struct Voice {
        std::shared_ptr<const PcmSound> sound;
        qint64 position = 0;
        State state = State::Stopped;
    };

    mutable std::mutex lock_;
    std::map<int, Voice> voices_;
    int nextId_ = 1;
};
