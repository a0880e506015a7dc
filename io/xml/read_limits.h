#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include <tinyxml.h>

#include "io/status.h"
#include "io/xml/xml_scan.h"
#include "model/note_set.h"

namespace velmora {

// The largest file read at all, kMaxSplineFileBytes, is kept by the disk
// layer (io/disk/file_read.h), which refuses a larger file before reading it.

// Real files nest three levels deep; the parser recurses once per level.
constexpr int kMaxXmlDepth = 64;
// What the parser may build from one file: every element, attribute, text,
// comment or other node costs it 100 to 250 bytes, so this keeps a load
// under about 150 MB. A control point takes three (the element and its two
// coordinates): 200,000 points, while real files hold a few tens of thousands.
constexpr std::size_t kMaxXmlNodes = 600000;
// What a save may add to the nodes of the file it read: the declaration (1),
// RectSize (3) and, for each of the four notes, a default spline where the
// file gave none (9). A read allows this much more than kMaxXmlNodes, so a
// file within kMaxXmlNodes always saves again, and a save is checked against
// the same bound, so the editor never writes what it would refuse to read.
constexpr std::size_t kSaveHeadroomNodes = 1 + 3 + 4 * 9;
constexpr std::size_t kMaxReadNodes = kMaxXmlNodes + kSaveHeadroomNodes;
// The parser looks up each new attribute among the earlier ones of its
// element, so their number costs its square; real elements have at most two.
constexpr int kMaxXmlAttributes = 256;

// Not ok for a text beyond a limit, saying which and where.
struct LimitCheck {
    Status status;
    XmlScan scan;  // what the parser will build: its nesting, an unclosed node
};

// Checks a text that the parser is about to read with `encoding` (up to its
// first NUL, which must follow it) against the limits above, before any of
// it is built.
LimitCheck CheckReadLimits(std::string_view text, TiXmlEncoding encoding);

// The nodes of the file a save writes for `notes`, as CheckReadLimits counts
// them; an empty note counts as the default spline the editor gives it.
std::size_t SavedNodeCount(const NoteSet& notes);

// Fails, saying why, where a spline file with exactly these bytes would be
// refused when read (too large, or beyond a limit above).
Status CheckWriteLimits(const std::string& bytes);

}  // namespace velmora
