# The libraries for game code as Windows DLLs, named as on Linux without the
# "lib": velmora-curve.dll, with the import libraries libvelmora-curve.dll.a
# for MinGW and velmora-curve.lib for MSVC, made from the same list of
# exports. What a DLL exports is what the public headers mark VELMORA_API,
# the same functions the Linux libraries export.
foreach(lib ${libraries})
  set_target_properties(${lib} PROPERTIES PREFIX "" IMPORT_PREFIX lib IMPORT_SUFFIX .dll.a)
  if(VELMORA_SHARED_LIBS)
    target_compile_definitions(${lib} PRIVATE VELMORA_BUILDING_LIBRARY)
    # The reader's interface is compiled apart, for the DLL.
    if(lib STREQUAL velmora-splinefile)
      target_compile_definitions(velmora_splinefile_api PRIVATE VELMORA_BUILDING_LIBRARY)
    endif()
    set(def ${CMAKE_ARCHIVE_OUTPUT_DIRECTORY}/${lib}.def)
    target_link_options(${lib} PRIVATE LINKER:--output-def,${def})
    # MSVC's linker reads an import library made from the list of exports.
    add_custom_command(TARGET ${lib} POST_BUILD
      COMMAND ${CMAKE_DLLTOOL} --machine i386:x86-64 --input-def ${def}
              --dllname ${lib}.dll --output-lib ${CMAKE_ARCHIVE_OUTPUT_DIRECTORY}/${lib}.lib
      BYPRODUCTS ${def} ${CMAKE_ARCHIVE_OUTPUT_DIRECTORY}/${lib}.lib
      VERBATIM)
    install(FILES ${CMAKE_ARCHIVE_OUTPUT_DIRECTORY}/${lib}.lib
      DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev)
  else()
    target_compile_definitions(${lib} PUBLIC VELMORA_STATIC)
    if(lib STREQUAL velmora-splinefile)
      target_compile_definitions(velmora_splinefile_api PUBLIC VELMORA_STATIC)
    endif()
  endif()
endforeach()
