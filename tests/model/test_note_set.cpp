#include <gtest/gtest.h>

#include "model/note_set.h"

namespace velmora {
namespace {

TEST(DesignToClient, OriginAndTargetsFor480By360) {
    const Rect client{0, 0, 480, 360};
    EXPECT_EQ(DesignToClient(client, 283, 159), (Point{424, 238}));
    const Point expected[] = {{75, 75}, {184, 75}, {295, 75}, {405, 75}};
    for (int n = 0; n < kNoteCount; ++n) {
        EXPECT_EQ(DesignToClient(client, kDesignTargets[n].x, kDesignTargets[n].y), expected[n]);
        EXPECT_EQ(DefaultSpline(client, kDesignTargets[n]), (Spline{{424, 238}, expected[n]}));
    }
}

TEST(DesignToClient, CornersMapToTheClientCorners) {
    for (const Rect& client : {Rect{0, 0, 480, 360}, Rect{0, 0, 1, 1}, Rect{0, 0, 641, 333},
                               Rect{0, 0, 3840, 2160}, Rect{0, 0, 0, 0}}) {
        EXPECT_EQ(DesignToClient(client, 0, 0), (Point{0, 0}));
        EXPECT_EQ(DesignToClient(client, 320, 240), (Point{client.right, client.bottom}));
    }
}

}  // namespace
}  // namespace velmora
