#pragma once

namespace qloom {

// Raised while the program itself writes editing-control texts, so the change handlers that
// would store a typed edit leave the menu table alone. One flag for the whole process: the
// handlers run synchronously inside the write that triggers them.
extern bool SuppressChange;

// Raises SuppressChange for its lifetime and restores the previous state afterwards, so nested
// program writes (a caption swap during a load) do not lower the flag early.
class SuppressChangeScope {
public:
    SuppressChangeScope();
    ~SuppressChangeScope();
    SuppressChangeScope(const SuppressChangeScope&) = delete;
    SuppressChangeScope& operator=(const SuppressChangeScope&) = delete;

private:
    bool previous_;
};

} // namespace qloom
