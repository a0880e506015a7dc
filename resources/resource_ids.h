#pragma once

#include <cstdint>

#include "resources/version_info.h"

// Identifiers of the program's resources and the names in its version record.
// The numbers are fixed: the icon and the About system command are looked up
// by them.

namespace velmora {

// The application icon.
constexpr int32_t IDR_MAINFRAME = 128;

// The Windows dialog templates of the main window and the About box, and
// the string that holds the About entry's menu text (resources/velmora.rc.in).
constexpr int32_t IDD_VELMORA_DIALOG = 102;
constexpr int32_t IDD_ABOUTBOX = 100;
constexpr int32_t IDS_ABOUTBOX = 101;

// The About entry's menu text; '&' marks the mnemonic letter.
constexpr const char* kAboutMenuText = "&About Velmora...";

// The About system command; a system command is the About command when its
// identifier masked with 0xFFF0 equals this.
constexpr uint32_t IDM_ABOUTBOX = 0x0010;

// Version record; the numbers come from the generated version_info.h.
constexpr const char* kProductName = "Velmora";
constexpr const char* kCopyright = "Copyright (C) 2026 the Velmora developers";

}  // namespace velmora
