// The C interface of the spline file reader: a thin wrapper over
// ReadSplineFile and ParseSplineFile. No exception crosses into C; running
// out of memory is the one way to get NULL.
#include "library/c_points.h"
#include "library/spline_file_contents.h"
#include "velmora/splinefile.h"
#include "velmora/splinefile.hpp"

struct velmora_file {
    velmora::SplineFileContents contents;
};

namespace {

int StatusCode(velmora::SplineFileStatus status) {
    switch (status) {
    case velmora::SplineFileStatus::kLoaded: return VELMORA_FILE_LOADED;
    case velmora::SplineFileStatus::kPartial: return VELMORA_FILE_PARTIAL;
    case velmora::SplineFileStatus::kMissing: return VELMORA_FILE_MISSING;
    case velmora::SplineFileStatus::kEmpty: return VELMORA_FILE_EMPTY;
    case velmora::SplineFileStatus::kUnreadable: break;
    }
    return VELMORA_FILE_UNREADABLE;
}

// The note's splines, or nullptr for a note the file does not have.
const velmora::SplineList* NoteOf(const velmora_file* file, int note) {
    if (file == nullptr || note < 0 || note >= static_cast<int>(file->contents.notes.size()))
        return nullptr;
    return &file->contents.notes[static_cast<size_t>(note)];
}

template <class Read>
velmora_file* Wrap(Read read) {
    try {
        return new velmora_file{read()};
    } catch (...) {
        return nullptr;
    }
}

}  // namespace

velmora_file* velmora_file_read(const char* path) {
    if (path == nullptr) {
        return Wrap([] {
            return velmora::detail::UnreadableSplineFile("(no path)",
                                                         "no path was given (a null pointer)");
        });
    }
    return Wrap([path] { return velmora::ReadSplineFile(path); });
}

velmora_file* velmora_file_parse(const char* bytes, size_t size) {
    return Wrap([bytes, size] { return velmora::ParseSplineFile(bytes, size); });
}

int velmora_file_status(const velmora_file* file) {
    return file == nullptr ? VELMORA_FILE_UNREADABLE : StatusCode(file->contents.status);
}

const char* velmora_file_reason(const velmora_file* file) {
    return file == nullptr ? "" : file->contents.reason.c_str();
}

int velmora_file_line(const velmora_file* file) {
    return file == nullptr ? 0 : file->contents.line;
}

int velmora_file_column(const velmora_file* file) {
    return file == nullptr ? 0 : file->contents.column;
}

size_t velmora_file_spline_count(const velmora_file* file, int note) {
    const velmora::SplineList* splines = NoteOf(file, note);
    return splines == nullptr ? 0 : splines->size();
}

size_t velmora_file_points(const velmora_file* file, int note, size_t spline, int32_t* points_xy,
                           size_t capacity) {
    const velmora::SplineList* splines = NoteOf(file, note);
    if (splines == nullptr || spline >= splines->size())
        return 0;
    return velmora::detail::WritePairs((*splines)[spline], points_xy, capacity);
}

void velmora_file_free(velmora_file* file) { delete file; }
