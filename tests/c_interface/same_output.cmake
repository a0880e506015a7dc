# Run as: cmake -DCOMMAND=prog;arg... -DINPUT=FILE -DEXPECTED=FILE -P same_output.cmake
# Runs COMMAND with INPUT as its standard input and fails unless its standard
# output is the text of EXPECTED, line for line (a CR before a line end, as a
# Windows program writes text, is not counted).
execute_process(COMMAND ${COMMAND} INPUT_FILE ${INPUT} OUTPUT_VARIABLE output RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${COMMAND} failed: ${rc}")
endif()
string(REPLACE "\r\n" "\n" output "${output}")
file(READ ${EXPECTED} expected)
if(NOT output STREQUAL expected)
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/same_output.actual "${output}")
  message(FATAL_ERROR "${COMMAND} printed other samples than ${EXPECTED}; "
                      "see ${CMAKE_CURRENT_BINARY_DIR}/same_output.actual")
endif()
