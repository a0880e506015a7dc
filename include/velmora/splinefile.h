#ifndef VELMORA_SPLINEFILE_H
#define VELMORA_SPLINEFILE_H

/* Reading Splines.xml as the Velmora editor reads it at start-up, for
   engines that bind C: from disk or from memory, with the same rules, limits
   and repairs. It never creates, changes or locks a file. */

#include <stddef.h>
#include <stdint.h>

#include "velmora/export.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The editor's client area, in pixels: the file's points are in its
   coordinates (x to the right, y downwards from the top-left corner). */
#define VELMORA_EDITOR_CLIENT_WIDTH 480
#define VELMORA_EDITOR_CLIENT_HEIGHT 360

/* Writes to *x and *y the origin in client pixels, where the editor draws
   its white star and every default spline starts. A NULL `x` or `y` is not
   written. */
VELMORA_API void velmora_editor_origin(int32_t* x, int32_t* y);

/* Writes to *x and *y the target of `note` (0..3) in client pixels, where
   the editor draws its star and the note's default spline ends, and returns
   1; returns 0, writing nothing, for another note. A NULL `x` or `y` is not
   written. */
VELMORA_API int velmora_editor_target(int note, int32_t* x, int32_t* y);

/* What was read; free it with velmora_file_free. */
typedef struct velmora_file velmora_file;

enum {
    VELMORA_FILE_LOADED = 0,  /* read in full */
    VELMORA_FILE_PARTIAL = 1, /* read up to line:column; what follows was not read */
    VELMORA_FILE_MISSING = 2,
    VELMORA_FILE_EMPTY = 3, /* zero bytes or only white space */
    VELMORA_FILE_UNREADABLE = 4
};

/* Reads the file at `path` (a NULL path reads as unreadable). Returns NULL
   only when memory runs out. */
VELMORA_API velmora_file* velmora_file_read(const char* path);

/* Reads a file's `size` bytes from memory (an asset pack, say), as
   velmora_file_read reads them from disk; never VELMORA_FILE_MISSING. NULL
   `bytes` reads as empty when `size` is 0 and as unreadable otherwise.
   Returns NULL only when memory runs out. */
VELMORA_API velmora_file* velmora_file_parse(const char* bytes, size_t size);

/* One of the VELMORA_FILE_ values; VELMORA_FILE_UNREADABLE for NULL. */
VELMORA_API int velmora_file_status(const velmora_file* file);

/* For a game's log, in UTF-8 (an invalid byte, of the path say, becomes
   U+FFFD): what was wrong with an unreadable file, why reading a partial
   one stopped, or which path has no file; "" otherwise and for NULL. Valid
   until the file is freed. */
VELMORA_API const char* velmora_file_reason(const velmora_file* file); /* UTF-8; "" when none */

/* Where the reason applies: 1-based; 0 when unknown (and for NULL). */
VELMORA_API int velmora_file_line(const velmora_file* file); /* 1-based; 0 when unknown */
VELMORA_API int velmora_file_column(const velmora_file* file);

/* The splines of note 0..3 as the editor shows them after loading: a note the
   file does not name, or leaves without splines, holds its default spline, so
   each note has at least one. 0 for another note or a NULL file. */
VELMORA_API size_t velmora_file_spline_count(const velmora_file* file, int note);

/* Returns the number of control points of spline `spline` (from 0) of
   `note` and writes at most `capacity` of them as x,y pairs to `points_xy`
   (2 * capacity values; NULL is allowed when capacity is 0). 0 for a note
   outside 0..3, a spline past the end or a NULL file. */
VELMORA_API size_t velmora_file_points(const velmora_file* file, int note, size_t spline,
                                       int32_t* points_xy, size_t capacity);

/* Frees what velmora_file_read or velmora_file_parse returned; NULL is
   allowed. */
VELMORA_API void velmora_file_free(velmora_file* file);

#ifdef __cplusplus
}
#endif

#endif
