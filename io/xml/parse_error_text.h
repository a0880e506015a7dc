#pragma once

#include <string>

namespace velmora {

// What the parser's error `id` (TiXmlBase's TIXML_ERROR_...) means in a
// spline file, in plain words, followed by the parser's own `words` for
// those who know them.
std::string ParseErrorText(int id, const char* words);

}  // namespace velmora
