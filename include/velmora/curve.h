#ifndef VELMORA_CURVE_H
#define VELMORA_CURVE_H

/* The curve the Velmora editor draws, for engines that bind C.

   Sample budget: each chord is sampled about every 4 pixels along its longer
   side; a chord whose longer side is 16,384 pixels or more gets 4,096 steps,
   the most one segment gets. A whole curve stays within 2^22 (4,194,304)
   samples: beyond that the longest segments get fewer steps, down to one
   step per segment, so a spline of more than 2^21 segments has two samples
   per segment. */

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

/* The samples velmora_curve gives, before they are truncated to whole pixels,
   with the same count, buffer and return rules: truncating each value toward
   zero gives velmora_curve's sample (which is clamped to the 32-bit range
   where a curve leaves it), and the first and last samples are the end
   points exactly (for coordinates within +-2^24). */
VELMORA_API size_t velmora_curve_precise(const int32_t* points_xy, size_t point_count,
                                         double* samples_xy, size_t capacity);

/* The drawn curve as a path to move along at constant speed: the straight
   pieces between consecutive precise samples. */
typedef struct velmora_path velmora_path;

/* A path along the curve through `point_count` points (x,y pairs), or NULL
   for fewer than two points, NULL points, or when memory runs out. Free it
   with velmora_path_free. */
VELMORA_API velmora_path* velmora_path_new(const int32_t* points_xy, size_t point_count);

/* The sum of the pieces' lengths, added in order in double precision; 0 for
   a NULL path. */
VELMORA_API double velmora_path_length(const velmora_path* path);

/* Writes to *x and *y the point `distance` along the path from its start,
   interpolated linearly on the piece where it falls. A distance below 0 (or
   NaN) gives the start, one beyond the length the end; a NULL path gives
   0,0. A NULL `x` or `y` is not written. */
VELMORA_API void velmora_path_at(const velmora_path* path, double distance, double* x, double* y);

/* Writes to *dx and *dy the unit direction of travel `distance` along the
   path: that of the piece the point lies on, the piece after it at a joint,
   the first piece below 0 (or NaN) and the last at and beyond the length;
   pieces of zero length are passed over. A path of length 0 (all its points
   the same, where every point is its start) and a NULL path give 0,0. A
   NULL `dx` or `dy` is not written. */
VELMORA_API void velmora_path_direction(const velmora_path* path, double distance, double* dx,
                                        double* dy);

/* Frees a path; NULL is allowed. */
VELMORA_API void velmora_path_free(velmora_path* path);

#ifdef __cplusplus
}
#endif

#endif
