# Generates resources/version_info.h from project(VERSION ...); the public
# headers of the library live in include/.
if(PROJECT_VERSION_TWEAK STREQUAL "")
  set(VELMORA_VERSION_TWEAK 0)
else()
  set(VELMORA_VERSION_TWEAK ${PROJECT_VERSION_TWEAK})
endif()
configure_file(${PROJECT_SOURCE_DIR}/resources/version_info.h.in
  ${PROJECT_BINARY_DIR}/generated/resources/version_info.h @ONLY)
include_directories(${PROJECT_BINARY_DIR}/generated ${PROJECT_SOURCE_DIR}/include)
