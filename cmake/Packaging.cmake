# Debian packages with CPack, one per install component:
#   velmora          the editor and velmora-tool ("editor")
#   libvelmora-dev   the library for game code ("dev")
# Build them with: cpack -G DEB --config build/CPackConfig.cmake
# (A description's first line is the package's synopsis.)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "the Velmora developers")
set(CPACK_PACKAGE_CONTACT "the Velmora developers <developers@velmora.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL editor dev)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://velmora.org/")

set(CPACK_DEBIAN_EDITOR_PACKAGE_NAME velmora)
set(CPACK_DEBIAN_EDITOR_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_EDITOR_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_EDITOR_DESCRIPTION
  "Editor for the note splines of a game
Velmora keeps, for each of four notes, a list of splines: control points
joined by a smooth natural cubic curve, saved to Splines.xml. velmora-tool
samples, checks, exports and renders those files for pipelines.
Released under the ${VELMORA_LICENCE} License.")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME libvelmora-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "libtinyxml-dev, pkg-config")
if(BUILD_SHARED_LIBS)
  set(CPACK_DEBIAN_DEV_PACKAGE_SHLIBDEPS ON)
endif()
set(CPACK_DEBIAN_DEV_DESCRIPTION
  "Velmora's exact curve and spline file reader for game code
Velmora::curve gives the samples of the curve the editor draws, bit for bit,
with a C interface for engines; Velmora::splinefile reads Splines.xml as the
editor does. Headers, libraries, a CMake package and pkg-config files.
Released under the ${VELMORA_LICENCE} License.")

include(CPack)
