# Warnings, and the floating-point rules the curve depends on: every value is
# rounded to float or double exactly where the source says so. That rules out
# fused multiply-add, -ffast-math and x87 excess precision.
add_compile_options(-Wall -Wextra -ffp-contract=off -fno-fast-math)
if(VELMORA_WERROR)
  add_compile_options(-Werror)
endif()
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(i.86|x86)$")
  add_compile_options(-msse2 -mfpmath=sse)
endif()

if(VELMORA_SANITIZE)
  set(_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${_san})
  add_link_options(${_san})
endif()

# Every library includes headers by their folder: "curve/spline_solver.h".
include_directories(${PROJECT_SOURCE_DIR})

# velmora_exact_float(target...) gives targets whose results must be the same
# bit for bit everywhere the floating-point options above as their own
# PRIVATE options. They come after CMAKE_CXX_FLAGS on the command line, so a
# builder's -ffast-math or -O3 -march=native cannot loosen them.
function(velmora_exact_float)
  set(options -ffp-contract=off -fno-fast-math)
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(i.86|x86)$")
    list(APPEND options -msse2 -mfpmath=sse)
  endif()
  foreach(target ${ARGN})
    target_compile_options(${target} PRIVATE ${options})
  endforeach()
endfunction()

# Hardening of optimised builds, as Debian builds its packages: fortified libc
# calls, stack protector, read-only relocations bound at start-up, and
# position-independent programs. Sanitizer and fuzz builds bring their own
# instrumentation and leave it out.
include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
if(NOT VELMORA_SANITIZE AND NOT VELMORA_FUZZ)
  set(optimised $<CONFIG:Release,RelWithDebInfo,MinSizeRel>)
  # A builder's own level (dpkg-buildflags') wins; a compiler that defines one
  # itself would warn of a second value.
  if(NOT CMAKE_CXX_FLAGS MATCHES "_FORTIFY_SOURCE")
    add_compile_options($<${optimised}:-U_FORTIFY_SOURCE> $<${optimised}:-D_FORTIFY_SOURCE=2>)
  endif()
  add_compile_options($<${optimised}:-fstack-protector-strong>)
  if(WIN32)
    # MinGW keeps the stack protector's and the checked functions' code in
    # libssp; the linker marks programs relocatable and non-executable-stack
    # (ASLR, DEP) by itself.
    add_link_options($<${optimised}:-fstack-protector-strong>)
  else()
    add_link_options($<${optimised}:LINKER:-z,relro,-z,now>)
  endif()
endif()
