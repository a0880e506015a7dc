# Puts the JavaScript interface (API) around the two builds of the module:
#   OUT/velmora.mjs  from MODULE, an ES module that exports loadVelmora
#   OUT/velmora.js   from SCRIPT, a classic script whose one global is
#                    loadVelmora
# Emscripten's own exports of its factory are taken out: the factory stays
# private to the interface.
file(READ ${API} api)

file(READ ${MODULE} module)
set(export_line "export default createVelmoraModule;")
string(FIND "${module}" "${export_line}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${MODULE} does not end in \"${export_line}\"")
endif()
string(SUBSTRING "${module}" 0 ${at} module)
file(WRITE ${OUT}/velmora.mjs
  "${module}\n${api}\nexport { loadVelmora };\n")

file(READ ${SCRIPT} script)
string(FIND "${script}" "if (typeof exports === 'object' && typeof module === 'object')" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${SCRIPT} does not end in its CommonJS export")
endif()
string(SUBSTRING "${script}" 0 ${at} script)
file(WRITE ${OUT}/velmora.js
  "var loadVelmora = (function () {\n${script}\n${api}\nreturn loadVelmora;\n})();\n")
