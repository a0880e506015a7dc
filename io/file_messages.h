#pragma once

#include <string>

#include "io/spline_file.h"

namespace velmora {

// `path` made absolute against the current folder and otherwise left as
// given: "." and empty parts are dropped, ".." and symbolic links kept.
std::string AbsoluteName(const std::string& path);

// The text the start-up message shows for `outcome` of loading the file
// named `path` in messages, or "" when there is nothing to tell. `backup`
// is the name under which the first save would keep the file read (by
// default `path` with ".bak").
std::string LoadMessage(const LoadOutcome& outcome, const std::string& path,
                        const std::string& backup = "");

// What the user is told about a save to the file named `path`, or "" when
// all went as expected. `backup` is the name outcome.backup is shown as,
// `promised` the backup the start-up message named ("" for none): a save
// that kept the file read under another name says so.
std::string SaveMessage(const SaveOutcome& outcome, const std::string& path,
                        const std::string& backup, const std::string& promised = "");

}  // namespace velmora
