#pragma once

// The Win32 API, for the files of the Windows window layer. The layer's own
// message and key constants carry Win32's names and numbers (WM_PAINT,
// VK_RETURN, IDOK, ...); they are declared before <windows.h> turns those
// names into macros, which then expand to the same numbers. So a file
// includes this header last, in an include block of its own.
#include "platform/message.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
