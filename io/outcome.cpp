#include "io/outcome.h"

#include <cstring>

namespace velmora {

std::string CouldNot(const std::string& step, const std::string& path, int error) {
    return "could not " + step + " \"" + path + "\": " + std::strerror(error);
}

}  // namespace velmora
