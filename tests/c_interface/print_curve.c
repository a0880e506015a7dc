/* A C program of a game's kind: reads control points, one "x y" per line,
   from standard input and prints the curve's samples through the C
   interface of the curve library, one "x y" per line. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <velmora/curve.h>

int main(void) {
    size_t count = 0, capacity = 16;
    int32_t* points = malloc(2 * capacity * sizeof *points);
    long x, y;
    while (points != NULL && scanf("%ld %ld", &x, &y) == 2) {
        if (count == capacity) {
            capacity *= 2;
            int32_t* grown = realloc(points, 2 * capacity * sizeof *points);
            if (grown == NULL)
                break;
            points = grown;
        }
        points[2 * count] = (int32_t)x;
        points[2 * count + 1] = (int32_t)y;
        ++count;
    }
    /* Asked once for the count, then for the samples. */
    const size_t samples = velmora_curve(points, count, NULL, 0);
    int32_t* xy = malloc(2 * (samples + 1) * sizeof *xy);
    if (points == NULL || xy == NULL)
        return 1;
    velmora_curve(points, count, xy, samples);
    for (size_t i = 0; i < samples; ++i)
        printf("%ld %ld\n", (long)xy[2 * i], (long)xy[2 * i + 1]);
    free(xy);
    free(points);
    return 0;
}
