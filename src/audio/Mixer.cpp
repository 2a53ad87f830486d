#include "audio/Mixer.h"

#include <algorithm>
#include <cstring>
#include <limits>

int Mixer::add(std::shared_ptr<const PcmSound> sound) {
    std::lock_guard guard(lock_);
    const int id = nextId_;
    nextId_ = nextId_ == std::numeric_limits<int>::max() ? 1 : nextId_ + 1;
    voices_[id] = Voice{std::move(sound), 0, State::Stopped};
    return id;
}

void Mixer::remove(int id) {
    std::shared_ptr<const PcmSound> released; // freed after the lock is let go
    {
        std::lock_guard guard(lock_);
        const auto it = voices_.find(id);
        if (it == voices_.end()) return;
        released = std::move(it->second.sound);
        voices_.erase(it);
    }
}

void Mixer::clear() {
    std::map<int, Voice> released;
    {
        std::lock_guard guard(lock_);
        released.swap(voices_);
    }
}

bool Mixer::play(int id, qint64 fromFrame) {
    std::lock_guard guard(lock_);
    const auto it = voices_.find(id);
    if (it == voices_.end()) return false;
    Voice& v = it->second;
    v.position = std::clamp<qint64>(fromFrame, 0, v.sound ? v.sound->frames() : 0);
    v.state = State::Playing;
    return true;
}

void Mixer::stop(int id) {
    std::lock_guard guard(lock_);
    const auto it = voices_.find(id);
    if (it != voices_.end() && it->second.state == State::Playing)
        it->second.state = State::Stopped;
}

Mixer::State Mixer::state(int id) const {
    std::lock_guard guard(lock_);
    const auto it = voices_.find(id);
    return it == voices_.end() ? State::Absent : it->second.state;
}

qint64 Mixer::position(int id) const {
    std::lock_guard guard(lock_);
    const auto it = voices_.find(id);
    return it == voices_.end() ? 0 : it->second.position;
}

int Mixer::voiceCount() const {
    std::lock_guard guard(lock_);
    return static_cast<int>(voices_.size());
}

void Mixer::mix(float* out, int frames) {
    if (frames <= 0) return;
    const size_t count = static_cast<size_t>(frames) * 2;
    std::memset(out, 0, count * sizeof(float));
    std::lock_guard guard(lock_);
    for (auto& [id, v] : voices_) {
        if (v.state != State::Playing) continue;
        const qint64 total = v.sound ? v.sound->frames() : 0;
        const qint64 n = std::min<qint64>(frames, total - v.position);
        if (n > 0) {
            const float* src = v.sound->samples.data() + v.position * 2;
            for (qint64 i = 0; i < n * 2; ++i)
                out[i] += src[i];
            v.position += n;
        }
        if (v.position >= total) v.state = State::Finished;
    }
    for (size_t i = 0; i < count; ++i)
        out[i] = std::clamp(out[i], -1.0f, 1.0f);
}
