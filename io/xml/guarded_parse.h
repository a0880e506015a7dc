#pragma once

#include <string_view>

#include <tinyxml.h>

namespace velmora {

// Parses `text` into `doc` as TiXmlDocument::Parse does, on a stack that
// holds `depth` levels of element nesting (the parser recurses once per
// level), as the scan before the parse found it: the caller's stack when it
// has that room, else a new thread's. `text` must be followed by a NUL byte,
// where the parser stops.
struct GuardedParse {
    bool started = false;        // false: no such thread could be started; nothing parsed
    const char* stop = nullptr;  // where the parser stopped, as Parse returns it
};
GuardedParse ParseWithAmpleStack(TiXmlDocument& doc, std::string_view text, TiXmlEncoding encoding,
                                 int depth);

}  // namespace velmora
