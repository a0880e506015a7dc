#pragma once

#include <optional>
#include <string>

#include "io/loaded_notes.h"
#include "model/note_set.h"

namespace velmora::tool {

// What every verb makes of loading a spline file, and what it says. A file
// the editor cannot read, one it reads only in part (reading stopped early,
// at conflict markers say) and one that holds text but no note are refused
// with the reason, line and column; a missing-and-created, zero-byte or
// blank file is the normal empty case, every note with its default spline.

// Whether a verb may go on with what loading `name` gave; prints on standard
// error why not. With `allowPartial` a refused load is a warning instead,
// and the verb goes on with what was read (the default splines where
// nothing was).
bool AcceptLoad(const std::string& verb, const std::string& name, const LoadOutcome& outcome,
                bool allowPartial);

// Loads FILE ("-": standard input) as the editor would, accepting it as
// AcceptLoad says. Prints why and returns nothing when it cannot be read or
// is refused.
std::optional<LoadedNotes> LoadForVerb(const std::string& verb, const std::string& path,
                                       bool allowPartial);

// Loads the spline file at `path` as the editor does, and what it shows
// afterwards (a note without a spline has its default one), for a verb that
// compares or merges whole files; a load AcceptLoad refuses gives nothing
// after a message that names the file `name` (the path when empty). A pipe
// or device (/dev/null, a process substitution) is read to its end; "-"
// reads standard input.
std::optional<NoteSet> LoadWholeForVerb(const std::string& verb, const std::string& path,
                                        const std::string& name = std::string());

}  // namespace velmora::tool
