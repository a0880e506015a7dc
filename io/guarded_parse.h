#pragma once

#include <string_view>

#include <tinyxml.h>

namespace velmora {

// Parses `text` into `doc` as TiXmlDocument::Parse does, on a stack that
// holds the deepest nesting the text could have (the parser recurses once
// per level, and every level starts with its own '<'), up to 2 million
// levels: the caller's, when it has that room, else a new thread's. The
// limits checked before parsing allow 64; this is the second
// barrier, should the check and the parser ever disagree. `text` must be
// followed by a NUL byte, where the parser stops.
struct GuardedParse {
    bool started = false;        // false: no such thread could be started; nothing parsed
    const char* stop = nullptr;  // where the parser stopped, as Parse returns it
};
GuardedParse ParseWithAmpleStack(TiXmlDocument& doc, std::string_view text, TiXmlEncoding encoding);

}  // namespace velmora
