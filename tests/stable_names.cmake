# Run as: cmake -P stable_names.cmake PROGRAM...
# Lists the tests of every GoogleTest program twice and fails when the two
# lists differ or a parameter prints as raw bytes: CTest takes its test names
# from these lists, and `ctest -R` and the history of a test need them stable.

# The lines of `text` as a list.
function(lines_of text out)
  string(REPLACE ";" "\\;" text "${text}")
  string(REPLACE "\n" ";" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE 3 ${last})
  set(program "${CMAKE_ARGV${i}}")
  execute_process(COMMAND "${program}" --gtest_list_tests OUTPUT_VARIABLE first RESULT_VARIABLE rc1)
  execute_process(COMMAND "${program}" --gtest_list_tests OUTPUT_VARIABLE second RESULT_VARIABLE rc2)
  if(NOT rc1 EQUAL 0 OR NOT rc2 EQUAL 0)
    message(SEND_ERROR "${program} --gtest_list_tests failed: ${rc1} ${rc2}")
  elseif(NOT first STREQUAL second)
    lines_of("${first}" first)
    lines_of("${second}" second)
    foreach(line IN ZIP_LISTS first second)
      if(NOT line_0 STREQUAL line_1)
        message(SEND_ERROR "${program} lists different tests from run to run:\n"
                           "${line_0}\n${line_1}")
        break()
      endif()
    endforeach()
  elseif(first MATCHES "[^\n]*-byte object <[^\n]*")
    message(SEND_ERROR "${program} prints a parameter as raw bytes:\n${CMAKE_MATCH_0}")
  endif()
endforeach()
