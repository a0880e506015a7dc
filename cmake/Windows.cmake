# The Windows build (MinGW-w64, cmake/mingw-w64-x86_64.cmake): programs that
# need no DLL beyond the system's, every program and DLL in bin/, the tests
# run under Wine, and the third-party code Debian ships no MinGW build of
# built from Debian's own sources.

# The C and C++ runtimes and the thread library are linked in, so a program
# runs on any Windows without the compiler's DLLs beside it.
add_link_options(-static)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
set(CMAKE_ARCHIVE_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/lib)

# Programs run under Wine, each in this build's own prefix.
if(CMAKE_CROSSCOMPILING)
  set(VELMORA_WINE_PREFIX ${PROJECT_BINARY_DIR}/wine-prefix)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-run ${VELMORA_WINE_PREFIX})
endif()

# GoogleTest from the sources Debian installs in /usr/src/googletest; its
# build names its targets GTest::gtest, GTest::gmock and so on, as
# find_package(GTest) does on Linux.
if(VELMORA_TESTS)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  foreach(lib gtest gtest_main gmock gmock_main)
    target_compile_options(${lib} PRIVATE -w)  # not our code: its warnings are not ours to fix
  endforeach()
endif()

# TinyXML 2.6 from Debian's source package, fetched into the build folder at
# configure time (never into the source tree), with the settings of Debian's
# own build: the STL interface on. Linked as PkgConfig::TINYXML, the name the
# Linux build's pkg-config check gives it.
execute_process(
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/fetch-debian-source tinyxml ${PROJECT_BINARY_DIR}/third-party
  OUTPUT_VARIABLE tinyxml_dir OUTPUT_STRIP_TRAILING_WHITESPACE
  COMMAND_ERROR_IS_FATAL ANY)
add_library(velmora_tinyxml STATIC
  ${tinyxml_dir}/tinyxml.cpp ${tinyxml_dir}/tinyxmlerror.cpp
  ${tinyxml_dir}/tinyxmlparser.cpp ${tinyxml_dir}/tinystr.cpp)
target_include_directories(velmora_tinyxml SYSTEM PUBLIC ${tinyxml_dir})
target_compile_definitions(velmora_tinyxml PUBLIC TIXML_USE_STL)
target_compile_options(velmora_tinyxml PRIVATE -w)
add_library(PkgConfig::TINYXML ALIAS velmora_tinyxml)

# RapidJSON is headers alone: Debian's serve the Windows build as they are,
# reached through a folder of their own so that no other Linux header is.
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/third-party/include)
file(CREATE_LINK /usr/include/rapidjson ${PROJECT_BINARY_DIR}/third-party/include/rapidjson
  SYMBOLIC)
add_library(velmora_rapidjson INTERFACE)
target_include_directories(velmora_rapidjson SYSTEM INTERFACE
  ${PROJECT_BINARY_DIR}/third-party/include)

# zlib from Debian's MinGW package (libz-mingw-w64-dev), linked in: the same
# 1.2.13 as the Linux build's, so both write the same PNG bytes.
set(ZLIB_USE_STATIC_LIBS ON)

# FreeType, for the words of velmora-tool's review pictures, from Debian's
# source package as TinyXML is: the release and patches of the Linux build's
# libfreetype6, so both draw the same glyphs. Static, and without the
# optional libraries (zlib, bzip2, libpng, HarfBuzz, Brotli) it can use:
# DejaVu Sans needs none of them. Its own copy of zlib, for gzip-packed
# bitmap fonts, is left out too: it would clash with the zlib the PNG writer
# links. Linked as Freetype::Freetype, the name find_package(Freetype) gives
# it on Linux.
execute_process(
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/fetch-debian-source freetype ${PROJECT_BINARY_DIR}/third-party
  OUTPUT_VARIABLE freetype_dir OUTPUT_STRIP_TRAILING_WHITESPACE
  COMMAND_ERROR_IS_FATAL ANY)
foreach(dependency ZLIB BZIP2 PNG HARFBUZZ BROTLI)
  set(FT_DISABLE_${dependency} ON CACHE BOOL "FreeType without ${dependency}" FORCE)
endforeach()
# In a scope of its own, so that the static build and the skipped install
# rules stay FreeType's.
function(velmora_add_freetype dir)
  set(BUILD_SHARED_LIBS OFF)
  set(SKIP_INSTALL_ALL ON)
  add_subdirectory(${dir} ${PROJECT_BINARY_DIR}/freetype EXCLUDE_FROM_ALL)
endfunction()
velmora_add_freetype(${freetype_dir})
set(freetype_options ${PROJECT_BINARY_DIR}/freetype-options)
file(CONFIGURE OUTPUT ${freetype_options}/velmora_ftoption.h
  CONTENT "#include <freetype/config/ftoption.h>\n#undef FT_CONFIG_OPTION_USE_ZLIB\n")
target_include_directories(freetype PUBLIC $<BUILD_INTERFACE:${freetype_options}>)
target_compile_definitions(freetype PUBLIC FT_CONFIG_OPTIONS_H="velmora_ftoption.h")
target_compile_options(freetype PRIVATE -w)  # not our code: its warnings are not ours to fix
add_library(Freetype::Freetype ALIAS freetype)
