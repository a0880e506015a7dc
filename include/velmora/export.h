#ifndef VELMORA_EXPORT_H
#define VELMORA_EXPORT_H

/* Marks the functions the Velmora libraries export. On Windows a DLL exports
   them and its users import them: the library's own build defines
   VELMORA_BUILDING_LIBRARY, and users of the static libraries define
   VELMORA_STATIC (the CMake targets do both). Elsewhere everything else in a
   shared build stays hidden. */
#if defined(_WIN32)
#if defined(VELMORA_BUILDING_LIBRARY)
#define VELMORA_API __declspec(dllexport)
#elif defined(VELMORA_STATIC)
#define VELMORA_API
#else
#define VELMORA_API __declspec(dllimport)
#endif
#elif defined(__GNUC__) || defined(__clang__)
#define VELMORA_API __attribute__((visibility("default")))
#else
#define VELMORA_API
#endif

#endif
