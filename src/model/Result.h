#pragma once

#include <string>
#include <utility>

namespace qloom {

// Outcome of an operation that can fail at run time (a file that cannot be written, a number
// that does not convert). The core never shows anything; the GUI turns a failed Status into
// its general error report.
struct Status {
    bool ok = true;
    std::string message;

    static Status success() { return {}; }
    static Status failure(std::string text) { return {false, std::move(text)}; }
    explicit operator bool() const { return ok; }
};

} // namespace qloom
