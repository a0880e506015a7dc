#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velmora::fuzz {

// Scans the bytes as the reader does, with the encoding it would choose, and
// when the scan finds them within the read limits, parses them with TinyXML
// and walks the tree it built (the parser keeps what it built up to an
// error). Returns an empty string when the scan reported at least the deepest
// element nesting and the number of nodes and attributes of that tree, else
// by how much it fell short.
std::string CheckXmlScan(const uint8_t* data, size_t size);

}  // namespace velmora::fuzz
