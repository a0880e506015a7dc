#ifndef VELMORA_EXPORT_H
#define VELMORA_EXPORT_H

/* Marks the functions the Velmora libraries export; everything else in a
   shared build stays hidden. */
#if defined(__GNUC__) || defined(__clang__)
#define VELMORA_API __attribute__((visibility("default")))
#else
#define VELMORA_API
#endif

#endif
