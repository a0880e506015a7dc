#pragma once

#include <string>

namespace velmora {

// What kind of failure a step met, for the code that decides what to do
// next: try another name, fall back to another way, tell the user what to
// put right. The system's own errors are sorted into these in one place
// (SystemStatusCode); every other failure is kFailed.
enum class StatusCode {
    kOk,
    kFailed,        // anything not sorted below
    kNotFound,      // no file or folder of that name
    kExists,        // the name is taken
    kNoAccess,      // this user may not
    kReadOnly,      // the disk is mounted read-only
    kBusy,          // another program holds it (a lock, say); trying again may do
    kNoSpace,       // the disk or the user's quota is full
    kNotSupported,  // this system or file system cannot do it
    kInterrupted,   // a signal came first; trying again at once will do
};

// What a step on a file came to: ok, or what failed, of which kind, and why,
// for the user; the system's error number where a system call failed (0
// otherwise); and, where a place in the file is known, its line and column
// (1-based, 0 when unknown). Every result of the file layer is or carries one.
struct Status {
    StatusCode code = StatusCode::kOk;
    std::string reason;
    int error = 0;
    int line = 0;
    int column = 0;

    bool ok() const { return code == StatusCode::kOk; }
};

// The kind of failure the system's `error` is.
StatusCode SystemStatusCode(int error);

// A failure for `reason`, caused by the system's `error` where there is one.
Status Failed(std::string reason, int error = 0);

// A failure of a system call: the system's own text for `error`.
Status SystemFailure(int error);
// The same, of kind `code` where the step gives the error its own meaning.
Status SystemFailure(int error, StatusCode code);

// "could not <step> "<path>": <the system's text for `error`>", with `error`.
Status CouldNot(const std::string& step, const std::string& path, int error);

// "could not <step> "<path>": <why's reason>", of why's kind.
Status CouldNot(const std::string& step, const std::string& path, const Status& why);

// A step that writes a file. On success `path` is the file written, and
// `backup` the name under which the version it replaced was kept, or "".
struct WriteOutcome {
    Status status;
    std::string path;
    std::string backup;
};

}  // namespace velmora
