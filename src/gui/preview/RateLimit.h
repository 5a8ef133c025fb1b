#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

namespace qloom {

// Admits at most `count` events within any `windowMs` milliseconds (a sliding window). The
// caller passes the time, so the rule is tested without waiting.
class RateLimit {
public:
    RateLimit(size_t count, int64_t windowMs) : count_(count), windowMs_(windowMs) {}

    // True, and the event is counted, if it fits; false otherwise (nothing is counted).
    bool admit(int64_t nowMs);
    void setWindow(int64_t windowMs) { windowMs_ = windowMs; }

private:
    size_t count_;
    int64_t windowMs_;
    std::deque<int64_t> admitted_;
};

} // namespace qloom
