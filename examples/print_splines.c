/* Reads a Splines.xml as the Velmora editor does and prints every spline's
   control points and curve samples as CSV, through the C interface:
     note,spline,kind,index,x,y      (kind: point or sample)

     print_splines_c [Splines.xml] */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <velmora/curve.h>
#include <velmora/splinefile.h>

/* Prints `count` x,y pairs as rows of one kind. */
static void print_rows(int note, size_t spline, const char* kind, const int32_t* xy, size_t count) {
    for (size_t i = 0; i < count; ++i)
        printf("%d,%zu,%s,%zu,%d,%d\n", note, spline, kind, i, (int)xy[2 * i], (int)xy[2 * i + 1]);
}

/* Prints one spline's points and samples; 0 when memory ran out. */
static int print_spline(const velmora_file* file, int note, size_t spline) {
    size_t count = velmora_file_points(file, note, spline, NULL, 0);
    int32_t* points = malloc(2 * (count ? count : 1) * sizeof *points);
    if (points == NULL)
        return 0;
    velmora_file_points(file, note, spline, points, count);
    print_rows(note, spline, "point", points, count);

    /* Ask for the number of samples, then fill a buffer of that size. */
    size_t samples = velmora_curve(points, count, NULL, 0);
    int32_t* xy = malloc(2 * (samples ? samples : 1) * sizeof *xy);
    if (xy != NULL) {
        velmora_curve(points, count, xy, samples);
        print_rows(note, spline, "sample", xy, samples);
    }
    free(xy);
    free(points);
    return xy != NULL;
}

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : "Splines.xml";
    velmora_file* file = velmora_file_read(path);
    if (file == NULL) {
        fprintf(stderr, "out of memory\n");
        return 1;
    }
    /* Like the editor, go on with the default splines, after saying why. */
    int status = velmora_file_status(file);
    if (status == VELMORA_FILE_UNREADABLE || status == VELMORA_FILE_PARTIAL) {
        fprintf(stderr, "%s:%d:%d: %s\n", path, velmora_file_line(file), velmora_file_column(file),
                velmora_file_reason(file));
    } else if (status == VELMORA_FILE_MISSING) {
        fprintf(stderr, "%s: no such file; showing the default splines\n", path);
    }
    printf("note,spline,kind,index,x,y\n");
    int ok = 1;
    for (int note = 0; note < 4 && ok; ++note) {
        size_t splines = velmora_file_spline_count(file, note);
        for (size_t spline = 0; spline < splines && ok; ++spline)
            ok = print_spline(file, note, spline);
    }
    velmora_file_free(file);
    /* Output that could not be written (a full disk) is a failure. */
    return ok && fflush(stdout) == 0 && !ferror(stdout) ? 0 : 1;
}
