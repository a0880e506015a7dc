#pragma once

// RapidJSON's writer, for JSON written as a stream of values. Its internal
// stack (1.1.0) adds an offset to its still-null buffer pointer on the first
// push; the arithmetic is harmless but undefined, so clang's sanitizer is
// told not to check pointer overflow inside these headers.
#ifdef __clang__
#pragma clang attribute push(__attribute__((no_sanitize("pointer-overflow"))), apply_to = function)
#endif
#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>
#ifdef __clang__
#pragma clang attribute pop
#endif
