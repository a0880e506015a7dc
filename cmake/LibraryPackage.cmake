# Installs the library for game code as the "dev" component: headers, the
# libraries, a CMake package (find_package(Velmora CONFIG) gives Velmora::curve
# and Velmora::splinefile) and the pkg-config files velmora-curve and
# velmora-splinefile.
include(CMakePackageConfigHelpers)

set(cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Velmora)
install(TARGETS velmora-curve velmora-splinefile EXPORT VelmoraTargets COMPONENT dev
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/velmora
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT dev)
install(EXPORT VelmoraTargets NAMESPACE Velmora:: DESTINATION ${cmake_dir} COMPONENT dev)

# A static splinefile carries TinyXML as a link dependency of the consumer.
if(BUILD_SHARED_LIBS)
  set(VELMORA_STATIC_LIBS OFF)
  set(VELMORA_PC_TINYXML "Requires.private: tinyxml")
  set(VELMORA_PC_CURVE_LIBS "-lvelmora-curve")
else()
  set(VELMORA_STATIC_LIBS ON)
  set(VELMORA_PC_TINYXML "Requires: tinyxml")
  # A C program linking the static curve needs the C++ runtime too.
  set(VELMORA_PC_CURVE_LIBS "-lvelmora-curve -lstdc++ -lm")
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

foreach(name curve splinefile)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/velmora-${name}.pc.in
    ${PROJECT_BINARY_DIR}/velmora-${name}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/velmora-${name}.pc
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)
endforeach()

# `cmake --install --strip` (and CPack) strip programs and shared libraries
# only; the static archives lose their debug sections here.
if(NOT BUILD_SHARED_LIBS AND CMAKE_STRIP)
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      foreach(archive velmora-curve velmora-splinefile)
        execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-debug
          \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/lib\${archive}.a\"
          COMMAND_ERROR_IS_FATAL ANY)
      endforeach()
    endif()" COMPONENT dev)
endif()
