# The WebAssembly module, the npm package and the viewer's script, made by
# scripts/build-web with Emscripten into the build folder's web/ on every
# build; its own Ninja build redoes only what changed.
find_program(EMCMAKE emcmake REQUIRED)
find_program(NPM npm REQUIRED)
add_custom_target(velmora-web ALL
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/build-web ${CMAKE_BINARY_DIR}/web
    -DVELMORA_WERROR=${VELMORA_WERROR}
  USES_TERMINAL VERBATIM)
