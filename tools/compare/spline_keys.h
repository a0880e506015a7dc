#pragma once

#include <map>
#include <vector>

#include "model/note_set.h"
#include "tools/compare/sequence_match.h"

namespace velmora::tool {

// A point as a key of the sequence matcher.
inline Key PointKey(Point p) {
    return (static_cast<Key>(static_cast<uint32_t>(p.x)) << 32) | static_cast<uint32_t>(p.y);
}

// The points of a spline as keys.
std::vector<Key> PointKeys(const Spline& spline);

// Gives splines keys by content: two splines get the same key exactly when
// they hold the same points in the same order. The splines keyed must
// outlive the object, which refers to them.
class SplineKeys {
public:
    // The keys of every spline of `list`, in order.
    std::vector<Key> Of(const SplineList& list);

private:
    struct ByPoints {
        bool operator()(const Spline* a, const Spline* b) const;
    };
    std::map<const Spline*, Key, ByPoints> m_keys;
};

}  // namespace velmora::tool
