# Installs the library for game code. A shared build gives each library its
# own runtime component, named as its package is (the versioned library and its
# soname link), and the "dev" component the rest: headers, the .so links or
# the static archives, a CMake package (find_package(Velmora CONFIG) gives
# Velmora::curve and Velmora::splinefile) and the pkg-config files
# velmora-curve and velmora-splinefile.
include(CMakePackageConfigHelpers)

set(cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Velmora)
string(REPLACE "velmora-" "" names "${libraries}")
foreach(name ${names})
  # (A Windows DLL is a runtime file and goes beside the programs.)
  install(TARGETS velmora-${name} EXPORT VelmoraTargets
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${name}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT ${name}
      PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
      NAMELINK_COMPONENT dev)
endforeach()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/velmora
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT dev)
install(EXPORT VelmoraTargets NAMESPACE Velmora:: DESTINATION ${cmake_dir} COMPONENT dev)

# A shared library carries its dependencies itself. A static one leaves them
# to the consumer's link: TinyXML, and the C++ runtime a C program's link does
# not add (pkg-config --static names them).
set(VELMORA_PC_TINYXML_VERSION "tinyxml >= 2.6, tinyxml < 2.7")
if(VELMORA_SHARED_LIBS)
  set(VELMORA_STATIC_LIBS OFF)
  set(VELMORA_PC_PRIVATE "")
  set(VELMORA_PC_SPLINEFILE_PRIVATE "")
else()
  set(VELMORA_STATIC_LIBS ON)
  set(VELMORA_PC_PRIVATE "Libs.private: -lstdc++ -lm")
  set(VELMORA_PC_SPLINEFILE_PRIVATE
    "Requires.private: ${VELMORA_PC_TINYXML_VERSION}\n${VELMORA_PC_PRIVATE}")
endif()
# The .pc files find the headers relative to themselves, so an installed tree
# can be moved (a scratch prefix, a package root).
file(RELATIVE_PATH VELMORA_PC_INCLUDEDIR
  ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig
  ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_INCLUDEDIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/VelmoraConfig.cmake.in
  ${PROJECT_BINARY_DIR}/VelmoraConfig.cmake INSTALL_DESTINATION ${cmake_dir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/VelmoraConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/VelmoraConfig.cmake
  ${PROJECT_BINARY_DIR}/VelmoraConfigVersion.cmake DESTINATION ${cmake_dir} COMPONENT dev)

foreach(name ${names})
  configure_file(${PROJECT_SOURCE_DIR}/cmake/velmora-${name}.pc.in
    ${PROJECT_BINARY_DIR}/velmora-${name}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/velmora-${name}.pc
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)
endforeach()

# `cmake --install --strip` (and CPack) strip programs and shared libraries
# only; the static archives lose their debug sections here.
if(NOT VELMORA_SHARED_LIBS AND CMAKE_STRIP)
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      foreach(archive ${libraries})
        execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-debug
          \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/lib\${archive}.a\"
          COMMAND_ERROR_IS_FATAL ANY)
      endforeach()
    endif()" COMPONENT dev)
endif()
