#pragma once

#include <string>

#include <tinyxml.h>

namespace velmora {

// Parses `text` into `doc` as TiXmlDocument::Parse does, on a stack that
// holds the deepest nesting the text could have (the parser recurses once
// per level, and every level starts with its own '<'), up to 2 million
// levels: the caller's, when it has that room, else a new thread's. The limits checked before parsing allow 64; this is the second
// barrier, should the check and the parser ever disagree. Returns false,
// parsing nothing, when no such thread can be started.
bool ParseWithAmpleStack(TiXmlDocument& doc, const std::string& text, TiXmlEncoding encoding);

}  // namespace velmora
