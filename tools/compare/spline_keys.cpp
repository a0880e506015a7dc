#include "tools/compare/spline_keys.h"

#include <algorithm>

namespace velmora::tool {

std::vector<Key> PointKeys(const Spline& spline) {
    std::vector<Key> keys;
    keys.reserve(spline.size());
    for (const Point p : spline)
        keys.push_back(PointKey(p));
    return keys;
}

bool SplineKeys::ByPoints::operator()(const Spline* a, const Spline* b) const {
    return std::lexicographical_compare(a->begin(), a->end(), b->begin(), b->end(),
                                        [](Point p, Point q) { return PointKey(p) < PointKey(q); });
}

std::vector<Key> SplineKeys::Of(const SplineList& list) {
    std::vector<Key> keys;
    keys.reserve(list.size());
    for (const Spline& spline : list)
        keys.push_back(m_keys.emplace(&spline, m_keys.size()).first->second);
    return keys;
}

}  // namespace velmora::tool
