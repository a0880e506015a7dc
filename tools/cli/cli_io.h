#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "tools/cli/output_stream.h"

namespace velmora::tool {

// `text` with every byte a terminal would not show as plain text (controls,
// DEL, bytes above 0x7F) written as \xNN, and the backslash doubled, so a
// message never carries raw bytes of a file name or of file content.
std::string Printable(std::string_view text);

// The whole content of one input, or why it could not be read.
struct Input {
    bool ok = false;
    std::string name;  // the file name as given, or "standard input"
    std::string bytes;
    std::string error;  // when !ok: what went wrong (raw bytes of the name)
};

// Reads FILE whole with the editor's own reader and its size limit; "-" (or
// "", for callers that mean it) reads standard input. A named pipe or a device (process
// substitution, /dev/stdin) is read as a stream to its end, under the same limit; the editor's
// reader alone would refuse it.
Input ReadInput(const std::string& path);

// Produces an output by writing it to the stream it is given.
using Producer = std::function<void(OutputStream&)>;

// Writes what `produce` gives to `path` and makes sure it arrived: "-" (or
// "") is standard output, an existing pipe or device is written as a stream, and
// anything else is replaced as the editor saves its file (a temporary file
// in the same folder, renamed over it once complete), so that a reader of
// `path` never sees half of the output, and a failure leaves `path` as it
// was. Returns an empty string on success, else the reason (Printable).
std::string WriteOutput(const std::string& path, const Producer& produce);
std::string WriteOutput(const std::string& path, std::string_view bytes);

// Whether writing `output` would replace the file `input` ("-": standard
// input) itself: both lead, through links too, to one regular file.
bool IsInputItself(const std::string& input, const std::string& output);

// The usage message for an output that IsInputItself.
constexpr const char* kOutputIsInput =
    "OUT is FILE itself: writing it would destroy the spline file";

}  // namespace velmora::tool
