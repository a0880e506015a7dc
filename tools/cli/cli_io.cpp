#include "tools/cli/cli_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "io/disk/file_identity.h"
#include "io/disk/file_read.h"
#include "io/disk/safe_write.h"
#include "tools/cli/path_kind.h"

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
            in.error = name + " is " + LargerThanTheLimit();
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

bool IsStream(const std::string& path) { return LookAt(path).kind == PathKind::kStream; }

}  // namespace

Input ReadInput(const std::string& path) {
    if (path.empty() || path == "-")
        return ReadStream(stdin, "standard input");
    if (IsStream(path)) {
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
    if (read.found == ReadStatus::kMissing) {
        in.error = "\"" + path + "\": no such file";
    } else if (read.found == ReadStatus::kFailed || read.found == ReadStatus::kNotAFile) {
        in.error = std::move(read.status.reason);
    } else {
        in.ok = true;
        in.bytes = std::move(read.bytes);
    }
    return in;
}

namespace {

// Runs `produce` into `file`; returns "" or why the bytes did not all arrive.
std::string ProduceInto(const FileHandle& file, const std::string& name, const Producer& produce) {
    OutputStream stream(SystemFileSystem(), file);
    produce(stream);
    stream.Flush();
    if (!stream.Error().ok())
        return "could not write " + name + ": " + stream.Error().reason;
    return std::string();
}

// A pipe or a device cannot be replaced by a rename; it takes the bytes as
// they come.
bool IsExistingStream(const std::string& path) {
    const PathKind kind = LookAt(path).kind;
    return kind == PathKind::kStream || kind == PathKind::kOther;
}

}  // namespace

// Messages are built with the raw name and made Printable once, at the end.
std::string WriteOutput(const std::string& path, const Producer& produce) {
    const FileSystem& fs = SystemFileSystem();
    if (path.empty() || path == "-")
        return ProduceInto(fs.StandardOutput(), "standard output", produce);
    const std::string name = "\"" + path + "\"";
    std::string error;
    if (IsExistingStream(path)) {
        FileHandle file;
        if (const Status opened = fs.OpenForWriting(path, &file); !opened.ok())
            return Printable("could not open " + name + ": " + opened.reason);
        error = ProduceInto(file, name, produce);
        if (const Status closed = fs.Close(file); !closed.ok() && error.empty())
            error = "could not write " + name + ": " + closed.reason;
    } else {
        const WriteOutcome written = ReplaceFileWith(path, [&](const FileHandle& file) {
            const std::string failure = ProduceInto(file, name, produce);
            return failure.empty() ? Status{} : Failed(failure);
        });
        error = written.status.reason;
    }
    return Printable(error);
}

std::string WriteOutput(const std::string& path, std::string_view bytes) {
    return WriteOutput(path, [bytes](OutputStream& out) { out.Write(bytes); });
}

bool IsInputItself(const std::string& input, const std::string& output) {
    if (output == "-")
        return false;
    const FileSystem& fs = SystemFileSystem();
    FileInfo in;
    FileInfo out;
    const bool haveInput = input == "-" ? fs.InspectOpen(fs.StandardInput(), &in).ok()
                                        : fs.Inspect(input, Links::kFollow, &in).ok();
    return haveInput && in.kind == FileKind::kRegular &&
           fs.Inspect(output, Links::kFollow, &out).ok() && SameFile(in, out);
}

}  // namespace velmora::tool
