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
