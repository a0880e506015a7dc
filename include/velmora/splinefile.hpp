#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "velmora/export.h"
#include "velmora/point.h"

// Reading Splines.xml as the Velmora editor reads it at start-up: the same
// rules, limits and repairs, and the same message for a file it cannot read
// or read only in part.
// This is a reader for game code: it never creates, changes or locks a file.

namespace velmora {

// Control points in client pixels, in drawing order.
using Spline = std::vector<Point>;
// One note's splines, in the order the designer steps through them.
using SplineList = std::vector<Spline>;
// The four notes' splines, indexed by note number 0..3.
using NoteSet = std::array<SplineList, 4>;

// The editor's client size; default splines are placed in it.
constexpr int32_t kEditorClientWidth = 480;
constexpr int32_t kEditorClientHeight = 360;

// The origin in client pixels: where the editor draws its white star and
// every default spline starts.
VELMORA_API Point EditorOrigin();

// Each note's target in client pixels, by note number: where the editor
// draws its star and the note's default spline ends.
VELMORA_API std::array<Point, 4> EditorTargets();

enum class SplineFileStatus {
    kLoaded,      // read in full: the notes the file names hold its splines
    kPartial,     // read up to `line`:`column`, where reading stopped; the notes
                  // read until then hold their splines, what follows was not read
    kMissing,     // there is no file (the editor would create an empty one)
    kEmpty,       // zero bytes or only white space
    kUnreadable,  // cannot be read, is refused by a limit, is no document the
                  // editor reads, or is no regular file (a folder, say)
};

struct SplineFileContents {
    SplineFileStatus status = SplineFileStatus::kEmpty;
    // What the editor shows after loading: every note the file does not name,
    // and every note left without splines, holds its default spline (from the
    // origin to the note's target), so each note has at least one spline.
    NoteSet notes;
    // The text for a game's log, valid UTF-8 (an invalid byte, of a path say,
    // becomes U+FFFD): for kUnreadable what was wrong, for kPartial why
    // reading stopped (conflict markers of an unfinished merge, say), for
    // kMissing the path that has no file; "" otherwise.
    std::string reason;
    // Where, 1-based; 0 when unknown.
    int line = 0;
    int column = 0;
    // The warning the editor shows at start-up, for its dialog; empty when it
    // shows none.
    std::string message;
};

// Reads the file at `path`. Never throws for a bad or missing file; the
// status says what was found.
VELMORA_API SplineFileContents ReadSplineFile(const std::string& path);

// Reads a file's bytes from memory (an asset pack, say) as ReadSplineFile
// reads them from disk, with the same limits; the message names the file
// "Splines.xml". `bytes` may be NULL when `size` is 0. Never kMissing.
VELMORA_API SplineFileContents ParseSplineFile(const char* bytes, size_t size);

}  // namespace velmora
