#pragma once

#include <string>
#include <string_view>

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

// Reads FILE whole with the editor's own reader and its size limit; "-" or
// an empty path reads standard input, up to the same limit. The editor's
// reader refuses a pipe or device; with `acceptStreams` one is read to its end.
Input ReadInput(const std::string& path, bool acceptStreams = false);

// Writes `bytes` to `path` ("-" or empty: standard output) and makes sure
// they arrived: a failed write, flush or close is an error. Returns an
// empty string on success, else the reason (Printable).
std::string WriteOutput(const std::string& path, std::string_view bytes);

}  // namespace velmora::tool
