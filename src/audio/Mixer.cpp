#include "audio/Mixer.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>
#include <thread>

Mixer::Mixer()
    : slotUsed_(MaxVoices, false), slots_(std::make_unique<std::array<Slot, MaxVoices>>()) {}

Mixer::~Mixer() = default;

// ---- The user-interface thread's side ----------------------------------------------------

void Mixer::send(const Command& command) {
    const size_t tail = queueTail_.load(std::memory_order_relaxed);
    const size_t next = (tail + 1) % QueueSize;
    // The queue fills only when the audio thread has stopped taking it; then
    // wait a little for it, and give up rather than hang.
    for (int tries = 0; next == queueHead_.load(std::memory_order_acquire); ++tries) {
        if (tries == 1000) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    queue_[tail] = command;
    queueTail_.store(next, std::memory_order_release);
}

void Mixer::releaseRetired() {
    const quint64 applied = appliedSequence_.load(std::memory_order_acquire);
    std::erase_if(retired_, [applied](const auto& r) { return r.first <= applied; });
}

const Mixer::Voice* Mixer::find(int id) const {
    const auto it = voices_.find(id);
    return it == voices_.end() ? nullptr : &it->second;
}

int Mixer::add(std::shared_ptr<const PcmSound> sound) {
    releaseRetired();
    const auto free = std::find(slotUsed_.begin(), slotUsed_.end(), false);
    if (free == slotUsed_.end()) return 0;
    const int slot = static_cast<int>(free - slotUsed_.begin());
    while (voices_.contains(nextId_) || nextId_ == 0)
        nextId_ = nextId_ == std::numeric_limits<int>::max() ? 1 : nextId_ + 1;
    const int id = nextId_;
    nextId_ = nextId_ == std::numeric_limits<int>::max() ? 1 : nextId_ + 1;
    *free = true;
    Voice v{std::move(sound), slot, nextSequence_++, State::Stopped, 0};
    send({Command::Kind::Add, slot, v.sound.get(), 0, v.sequence});
    voices_.emplace(id, std::move(v));
    return id;
}

void Mixer::remove(int id) {
    const auto it = voices_.find(id);
    if (it == voices_.end()) return;
    const quint64 sequence = nextSequence_++;
    send({Command::Kind::Remove, it->second.slot, nullptr, 0, sequence});
    // Freed once the audio thread has taken the removal.
    retired_.emplace_back(sequence, std::move(it->second.sound));
    slotUsed_[size_t(it->second.slot)] = false;
    voices_.erase(it);
    releaseRetired();
}

void Mixer::clear() {
    while (!voices_.empty())
        remove(voices_.begin()->first);
}

bool Mixer::play(int id, qint64 fromFrame) {
    releaseRetired();
    const auto it = voices_.find(id);
    if (it == voices_.end()) return false;
    Voice& v = it->second;
    v.position = std::clamp<qint64>(fromFrame, 0, v.sound ? v.sound->frames() : 0);
    v.state = State::Playing;
    v.sequence = nextSequence_++;
    send({Command::Kind::Play, v.slot, nullptr, v.position, v.sequence});
    return true;
}

void Mixer::stop(int id) {
    const auto it = voices_.find(id);
    if (it == voices_.end()) return;
    Voice& v = it->second;
    const State now = state(id);
    v.position = position(id);
    v.state = now == State::Playing ? State::Stopped : now;
    v.sequence = nextSequence_++;
    send({Command::Kind::Stop, v.slot, nullptr, 0, v.sequence});
}

Mixer::State Mixer::state(int id) const {
    const Voice* v = find(id);
    if (!v) return State::Absent;
    const Slot& s = (*slots_)[size_t(v->slot)];
    if (s.applied.load(std::memory_order_acquire) >= v->sequence)
        return State(s.publishedState.load(std::memory_order_acquire));
    return v->state;
}

qint64 Mixer::position(int id) const {
    const Voice* v = find(id);
    if (!v) return 0;
    const Slot& s = (*slots_)[size_t(v->slot)];
    if (s.applied.load(std::memory_order_acquire) >= v->sequence)
        return s.publishedPosition.load(std::memory_order_acquire);
    return v->position;
}

// ---- The audio thread's side -----------------------------------------------------------------

void Mixer::apply(const Command& c) {
    Slot& s = (*slots_)[size_t(c.slot)];
    switch (c.kind) {
    case Command::Kind::Add:
        s.sound = c.sound;
        s.position = 0;
        s.state = State::Stopped;
        break;
    case Command::Kind::Play:
        s.position = std::clamp<qint64>(c.from, 0, s.sound ? s.sound->frames() : 0);
        s.state = State::Playing;
        break;
    case Command::Kind::Stop:
        if (s.state == State::Playing) s.state = State::Stopped;
        break;
    case Command::Kind::Remove:
        s.sound = nullptr;
        s.position = 0;
        s.state = State::Absent;
        break;
    }
    s.publishedPosition.store(s.position, std::memory_order_relaxed);
    s.publishedState.store(int(s.state), std::memory_order_relaxed);
    s.applied.store(c.sequence, std::memory_order_release);
    appliedSequence_.store(c.sequence, std::memory_order_release);
}

void Mixer::mix(float* out, int frames) {
    if (frames <= 0) return;
    const size_t count = static_cast<size_t>(frames) * 2;
    std::memset(out, 0, count * sizeof(float));

    takeChanges();
    for (Slot& s : *slots_) {
        if (s.state != State::Playing) continue;
        const qint64 total = s.sound ? s.sound->frames() : 0;
        const qint64 n = std::min<qint64>(frames, total - s.position);
        if (n > 0) {
            const float* src = s.sound->samples.data() + s.position * 2;
            for (qint64 i = 0; i < n * 2; ++i)
                out[i] += src[i];
            s.position += n;
        }
        if (s.position >= total) s.state = State::Finished;
        s.publishedPosition.store(s.position, std::memory_order_release);
        s.publishedState.store(int(s.state), std::memory_order_release);
    }
    for (size_t i = 0; i < count; ++i)
        out[i] = limited(out[i]);
}

void Mixer::takeChanges() {
    size_t head = queueHead_.load(std::memory_order_relaxed);
    const size_t tail = queueTail_.load(std::memory_order_acquire);
    for (; head != tail; head = (head + 1) % QueueSize)
        apply(queue_[head]);
    queueHead_.store(head, std::memory_order_release);
}

float Mixer::limited(float x) {
    // Linear up to the knee; above it the sum bends smoothly towards full
    // scale and never reaches it, so that a chime over the voice is rounded
    // off instead of clipped.
    constexpr float Knee = 0.9f;
    constexpr float Room = 1.0f - Knee;
    constexpr float Ceiling = 0.999f;
    const float a = std::abs(x);
    if (!(a > Knee)) return std::isnan(x) ? 0.0f : x;
    const float bent = std::min(Ceiling, Knee + Room * std::tanh((a - Knee) / Room));
    return x < 0 ? -bent : bent;
}
