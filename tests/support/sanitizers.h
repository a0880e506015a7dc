#pragma once

// VELMORA_UNDER_ASAN is defined when the address sanitizer is built in: its
// shadow memory makes measurements of memory and address space meaningless.
#if defined(__SANITIZE_ADDRESS__)
#define VELMORA_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELMORA_UNDER_ASAN 1
#endif
#endif
