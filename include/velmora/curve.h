#ifndef VELMORA_CURVE_H
#define VELMORA_CURVE_H

/* The curve the Velmora editor draws, for engines that bind C. */

#include <stddef.h>
#include <stdint.h>

#include "velmora/export.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Samples the curve through `point_count` control points, given as x,y pairs
   in `points_xy` (2 * point_count values). Writes the first min(result,
   capacity) samples as x,y pairs to `samples_xy` (2 * capacity values;
   NULL is allowed when capacity is 0) and returns the number of samples of the
   whole curve, so a caller can ask for the count first and then fill a buffer.
   Returns 0, writing nothing, for fewer than two points, for NULL points, and
   when memory runs out. Never writes past `capacity` samples. */
VELMORA_API size_t velmora_curve(const int32_t* points_xy, size_t point_count, int32_t* samples_xy,
                                 size_t capacity);

#ifdef __cplusplus
}
#endif

#endif
