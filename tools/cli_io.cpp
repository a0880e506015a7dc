#include "tools/cli_io.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "io/file_read.h"

namespace velmora::tool {

std::string Printable(std::string_view text) {
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\\') {
            out += "\\\\";
        } else if (byte < 0x20 || byte >= 0x7F) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

namespace {

// Reads a stream (standard input, a pipe) to its end, up to the size limit.
Input ReadStream(std::FILE* stream, const std::string& name) {
    Input in;
    in.name = name;
    char buffer[65536];
    for (;;) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, stream);
        in.bytes.append(buffer, got);
        if (in.bytes.size() > kMaxSplineFileBytes) {
            in.error = name + " is larger than " +
                       std::to_string(kMaxSplineFileBytes / (1024 * 1024)) + " MiB";
            return in;
        }
        if (got < sizeof buffer)
            break;
    }
    if (std::ferror(stream)) {
        in.error = "could not read " + name + ": " + std::strerror(errno);
        return in;
    }
    in.ok = true;
    return in;
}

bool IsStream(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode));
}

}  // namespace

Input ReadInput(const std::string& path, bool acceptStreams) {
    if (path.empty() || path == "-")
        return ReadStream(stdin, "standard input");
    if (acceptStreams && IsStream(path)) {
        std::FILE* stream = std::fopen(path.c_str(), "rb");
        if (stream == nullptr) {
            return Input{
                false, path, {}, "could not open \"" + path + "\": " + std::strerror(errno)};
        }
        Input in = ReadStream(stream, "\"" + path + "\"");
        std::fclose(stream);
        in.name = path;
        return in;
    }
    Input in;
    in.name = path;
    ReadOutcome read = ReadWholeFile(path);
    if (read.status == ReadStatus::kMissing) {
        in.error = "\"" + path + "\": no such file";
    } else if (read.status == ReadStatus::kFailed || read.status == ReadStatus::kNotAFile) {
        in.error = std::move(read.reason);
    } else {
        in.ok = true;
        in.bytes = std::move(read.bytes);
    }
    return in;
}

std::string WriteOutput(const std::string& path, std::string_view bytes) {
    const bool toStdout = path.empty() || path == "-";
    const std::string name = toStdout ? "standard output" : "\"" + Printable(path) + "\"";
    std::FILE* file = toStdout ? stdout : std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return "could not open " + name + ": " + std::strerror(errno);
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fflush(file) == 0 && ok;
    int error = ok ? 0 : errno;
    if (!toStdout && std::fclose(file) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok)
        return std::string();
    return "could not write " + name + ": " + std::strerror(error != 0 ? error : EIO);
}

}  // namespace velmora::tool
