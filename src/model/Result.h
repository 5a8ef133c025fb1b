#pragma once

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

namespace qloom {

// Outcome of an operation that can fail at run time (a file that cannot be written, a number
// that does not convert, a full project). The core never shows anything; the GUI turns a failed
// Status into a message box and the command-line tool into a line on standard error.
//
// `message` is the whole text to show: the program's own wording, then, where the system gave
// one, its reason ("Cannot create file /x/Qloomscript.js: No space left on device"). `reason`
// and `file` keep the two parts for whoever needs them apart.
class [[nodiscard]] Status {
public:
    bool ok = true;
    std::string message;
    std::string reason; // the system's text for errno, empty when the system gave none
    std::string file;   // the file the failure concerns, empty when none

    Status() = default;

    static Status success() { return {}; }
    static Status failure(std::string text) {
        Status s;
        s.ok = false;
        s.message = std::move(text);
        return s;
    }
    // A failure of the system call that set `errorNumber`: the reason is appended to `text`.
    static Status systemFailure(std::string text, std::string path, int errorNumber) {
        Status s = failure(std::move(text));
        s.file = std::move(path);
        if (errorNumber != 0) {
            s.reason = std::strerror(errorNumber);
            s.message += ": ";
            s.message += s.reason;
        }
        return s;
    }
    explicit operator bool() const { return ok; }
};

// A value, or the Status saying why there is none.
template <typename T> class [[nodiscard]] Expected {
public:
    Expected(T value) : value_(std::move(value)) {}
    Expected(Status failure) : status_(std::move(failure)) {}

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const Status& status() const { return status_; }

    T& value() { return *value_; }
    const T& value() const { return *value_; }
    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }

private:
    std::optional<T> value_;
    Status status_;
};

} // namespace qloom
