#pragma once

#include <optional>
#include <string>

#include "model/note_set.h"

namespace velmora::tool {

// Loads the spline file at `path` as the editor does, and what it shows
// afterwards (a note without a spline has its default one), for a verb that
// compares or merges whole files. A pipe or device (/dev/null, a process
// substitution) is read to its end; "-" reads standard input. A file the
// editor could not read, or would read only in part, gives nothing after a
// message that names it as `name` (the path when empty).
std::optional<NoteSet> LoadWholeForVerb(const std::string& verb, const std::string& path,
                                        const std::string& name = std::string());

}  // namespace velmora::tool
