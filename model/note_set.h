#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/geometry.h"
#include "velmora/splinefile.hpp"

namespace velmora {

// An ordered list of control points in client pixels; the curve runs through
// them in this order.
using Spline = std::vector<Point>;

// The splines of one note, in the order the designer steps through them.
using SplineList = std::vector<Spline>;

constexpr int kNoteCount = 4;

// Every note's spline list, indexed by note number 0..3.
using NoteSet = std::array<SplineList, kNoteCount>;

// The editor's client area: the file's points are in its pixels, and its
// default splines are placed in it.
constexpr Rect kEditorClient{0, 0, kEditorClientWidth, kEditorClientHeight};

// The design space in which the origin and the targets are placed.
constexpr int kDesignWidth = 320;
constexpr int kDesignHeight = 240;
constexpr Point kDesignOrigin{283, 159};
constexpr std::array<Point, kNoteCount> kDesignTargets{{{50, 50}, {123, 50}, {197, 50}, {270, 50}}};

// Maps one design coordinate onto a client extent: float(design / span), then
// float(extent * that), truncated. Each step is rounded to float so that the
// markers and the default splines land on the same pixels everywhere. The
// result is 64-bit, so any int32_t input gives a defined value.
int64_t DesignAxisToClient(int32_t design, int32_t span, int32_t extent);

// Maps a design-space point into a client rectangle (only its right and
// bottom are used), clamped to the int32_t range.
Point DesignToClient(const Rect& client, int32_t x, int32_t y);

// The origin and every note's target in client pixels: where the stars are
// drawn and where default splines start and end.
struct ClientTargets {
    Point origin;
    std::array<Point, kNoteCount> targets;
};

// Maps the origin and `designTargets` into `client` with DesignToClient. The
// client rectangle is fixed at start-up, so this is done once, not per frame.
ClientTargets MapTargets(const Rect& client, const std::array<Point, kNoteCount>& designTargets);

// The spline a note starts with: from the origin to the note's target.
Spline DefaultSpline(const Rect& client, Point designTarget);

// Gives every note without a spline its default spline, as the editor does
// after loading a file, so that every note has a spline to show.
void GiveEmptyNotesTheirDefault(NoteSet& notes, const Rect& client);

}  // namespace velmora
