# Debian packages with CPack, one per install component:
#   velmora                  the editor and velmora-tool ("editor")
#   libvelmora-curve1        libvelmora-curve.so.1 ("curve", shared builds)
#   libvelmora-splinefile1   libvelmora-splinefile.so.1 ("splinefile", shared builds)
#   libvelmora-dev           headers, .so links or static archives, CMake and
#                            pkg-config files ("dev")
#   python3-velmora          the Python module ("python")
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
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://velmora.org/")
set(CPACK_DEBIAN_PACKAGE_SOURCE velmora)
set(version ${PROJECT_VERSION})

set(CPACK_DEBIAN_EDITOR_PACKAGE_NAME velmora)
set(CPACK_DEBIAN_EDITOR_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_EDITOR_PACKAGE_SHLIBDEPS ON)
# The words of velmora-tool's review pictures are drawn in DejaVu Sans.
set(CPACK_DEBIAN_EDITOR_PACKAGE_DEPENDS "fonts-dejavu-core")
set(CPACK_DEBIAN_EDITOR_DESCRIPTION
  "Editor for the note splines of a game
Velmora keeps, for each of four notes, a list of splines: control points
joined by a smooth natural cubic curve, saved to Splines.xml. velmora-tool
samples, checks, exports and renders those files for pipelines.
Released under the ${VELMORA_LICENCE} License.")

set(packages editor:velmora dev:libvelmora-dev python:python3-velmora)
if(VELMORA_SHARED_LIBS)
  list(APPEND packages curve:libvelmora-curve1 splinefile:libvelmora-splinefile1)
  # The shlibs file lets dpkg-shlibdeps of other packages find the soname's
  # package; ldconfig runs through a trigger (LdconfigTrigger.cmake).
  foreach(name CURVE SPLINEFILE)
    set(CPACK_DEBIAN_${name}_PACKAGE_SECTION libs)
    set(CPACK_DEBIAN_${name}_PACKAGE_SHLIBDEPS ON)
  endforeach()
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
  set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/LdconfigTrigger.cmake)
  set(CPACK_DEBIAN_CURVE_PACKAGE_NAME libvelmora-curve1)
  set(CPACK_DEBIAN_CURVE_DESCRIPTION
    "Velmora's exact curve for game code
The samples of the curve the Velmora editor draws through a list of control
points, bit for bit, with a C interface for engines.
Released under the ${VELMORA_LICENCE} License.")
  set(CPACK_DEBIAN_SPLINEFILE_PACKAGE_NAME libvelmora-splinefile1)
  set(CPACK_DEBIAN_SPLINEFILE_DESCRIPTION
    "Velmora's spline file reader for game code
Reads the Splines.xml of the Velmora editor as the editor does, with the same
rules, limits and repairs, from C++ or C.
Released under the ${VELMORA_LICENCE} License.")
  set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS
    "libvelmora-curve1 (= ${version}), libvelmora-splinefile1 (= ${version})")
else()
  # A static splinefile links TinyXML into the consumer.
  set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS
    "libtinyxml-dev (>= 2.6), libtinyxml-dev (<< 2.7), pkg-config")
endif()

set(CPACK_DEBIAN_DEV_PACKAGE_NAME libvelmora-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_DESCRIPTION
  "Velmora's exact curve and spline file reader for game code (development)
Velmora::curve gives the samples of the curve the editor draws, bit for bit,
with a C interface for engines; Velmora::splinefile reads Splines.xml as the
editor does. Headers, libraries, a CMake package and pkg-config files.
Released under the ${VELMORA_LICENCE} License.")

# The module loads the libraries by soname, so it holds no machine code.
set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-velmora)
set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
set(CPACK_DEBIAN_PYTHON_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS
  "python3, libvelmora-curve1 (>= ${version}), libvelmora-splinefile1 (>= ${version})")
set(CPACK_DEBIAN_PYTHON_DESCRIPTION
  "Velmora's exact curve and spline file reader for Python
The samples of the curve the Velmora editor draws, a smooth constant-speed
path along it, and Splines.xml read as the editor reads it.
Released under the ${VELMORA_LICENCE} License.")

# Debian keeps each package's licence and changelog in /usr/share/doc/<package>.
configure_file(${PROJECT_SOURCE_DIR}/resources/changelog.in ${PROJECT_BINARY_DIR}/changelog @ONLY)
set(changelog_gz ${PROJECT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${changelog_gz}
  COMMAND gzip -9n -c ${PROJECT_BINARY_DIR}/changelog > ${changelog_gz}
  DEPENDS ${PROJECT_BINARY_DIR}/changelog)
add_custom_target(velmora_changelog ALL DEPENDS ${changelog_gz})
set(CPACK_COMPONENTS_ALL "")
foreach(entry ${packages})
  string(REPLACE ":" ";" entry ${entry})
  list(GET entry 0 component)
  list(GET entry 1 package)
  list(APPEND CPACK_COMPONENTS_ALL ${component})
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE RENAME copyright
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
  install(FILES ${changelog_gz}
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
endforeach()

include(CPack)
