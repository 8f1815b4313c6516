# SPDX-License-Identifier: MIT
# Runs the table generator and compares what it writes with the committed
# tables byte for byte, so that src/text/cp932_tables.cpp is always what
# Qt's converter gives.
# Usage: cmake -DGENERATOR=taiju-cp932-gen -DOUTPUT=fresh.cpp -DCOMMITTED=cp932_tables.cpp -P tables_unchanged.cmake
execute_process(COMMAND ${GENERATOR} ${OUTPUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "taiju-cp932-gen failed (${status})")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT} ${COMMITTED}
  RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
  message(FATAL_ERROR "${COMMITTED} is not what taiju-cp932-gen writes now (${OUTPUT}): "
    "write it anew with `build/generated/taiju-cp932-gen src/text/cp932_tables.cpp`")
endif()
