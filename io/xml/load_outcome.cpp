#include "io/xml/load_outcome.h"

#include <utility>

namespace velmora {

LoadOutcome NothingLoaded(LoadStatus status, Status why) {
    LoadOutcome out;
    out.status = std::move(why);
    out.found = status;
    return out;
}

}  // namespace velmora
