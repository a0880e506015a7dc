#include "model/note_set.h"

namespace velmora {

Point DesignToClient(const Rect& client, int32_t x, int32_t y) {
    const float fx = static_cast<float>(x / 320.0);
    const float fy = static_cast<float>(y / 240.0);
    const float cx = static_cast<float>(client.right * static_cast<double>(fx));
    const float cy = static_cast<float>(client.bottom * static_cast<double>(fy));
    // Client sizes and design coordinates are small, so cx and cy are far
    // inside the int32_t range.
    return Point{static_cast<int32_t>(cx), static_cast<int32_t>(cy)};
}

Spline DefaultSpline(const Rect& client, Point designTarget) {
    return Spline{DesignToClient(client, kDesignOrigin.x, kDesignOrigin.y),
                  DesignToClient(client, designTarget.x, designTarget.y)};
}

}  // namespace velmora
