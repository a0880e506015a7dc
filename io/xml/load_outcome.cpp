#include "io/xml/load_outcome.h"

#include <utility>

namespace velmora {

LoadOutcome NothingLoaded(LoadStatus status, Status why) {
    LoadOutcome out;
    static_cast<Status&>(out) = std::move(why);
    out.status = status;
    return out;
}

}  // namespace velmora
