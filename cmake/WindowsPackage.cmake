# What the Windows zip and installer hold besides the programs, the DLLs and
# the library's headers, import libraries and CMake package: the Python
# module with its own copies of the DLLs, the examples, the licence and a
# short README.txt, the text files with Windows line ends.
# scripts/package-windows installs this into one folder and packs it.
set(doc_dir ${PROJECT_BINARY_DIR}/windows-package)
# README.txt names the programs and DLLs this build makes, and no others.
set(VELMORA_PACKAGE_PROGRAMS "")
if(TARGET velmora)
  string(APPEND VELMORA_PACKAGE_PROGRAMS
    [=[  velmora.exe            the editor: velmora.exe FOLDER edits FOLDER\Splines.xml;
                         velmora.exe --choose-folder asks for the folder
]=])
endif()
if(TARGET velmora-tool)
  string(APPEND VELMORA_PACKAGE_PROGRAMS
    [=[  velmora-tool.exe       check, export, curve, render, format, diff, merge,
                         git-setup and watch (velmora-tool.exe --help)
]=])
endif()
if(TARGET velmora-splinefile)
  string(APPEND VELMORA_PACKAGE_PROGRAMS
    [=[  velmora-curve.dll      the library for game code, with its C interface
  velmora-splinefile.dll (include\velmora\*.h)
]=])
else()
  string(APPEND VELMORA_PACKAGE_PROGRAMS
    [=[  velmora-curve.dll      the library for game code, with its C interface
                         (include\velmora\*.h)
]=])
endif()
configure_file(${PROJECT_SOURCE_DIR}/resources/windows/README.txt.in ${doc_dir}/README.txt
  @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${doc_dir}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${doc_dir}/README.txt ${doc_dir}/LICENSE.txt DESTINATION .)

# The licences of what velmora-tool.exe carries besides our code: the DejaVu
# font (Debian's copyright file of fonts-dejavu-core) and FreeType (its
# source's FreeType License). Copied as they are, with Windows line ends.
if(TARGET velmora-tool)
  foreach(licence "${VELMORA_PICTURE_FONT_LICENCE}|DejaVu-fonts-LICENSE.txt"
                  "${freetype_dir}/docs/FTL.TXT|FreeType-LICENSE.txt")
    string(REPLACE "|" ";" licence "${licence}")
    list(GET licence 0 from)
    list(GET licence 1 to)
    file(READ ${from} text)
    string(REGEX REPLACE "\r?\n" "\r\n" text "${text}")
    file(WRITE ${doc_dir}/${to} "${text}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${from})
    install(FILES ${doc_dir}/${to} DESTINATION .)
  endforeach()
endif()

file(GLOB module_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/python/velmora/*.py)
install(FILES ${module_files} DESTINATION python/velmora COMPONENT python)
foreach(lib velmora-curve velmora-splinefile)
  if(TARGET ${lib} AND VELMORA_SHARED_LIBS)
    install(TARGETS ${lib} RUNTIME DESTINATION python/velmora COMPONENT python)
  endif()
endforeach()

file(GLOB example_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/*)
install(FILES ${example_files} DESTINATION examples)
