# Installs the build into SCRATCH/prefix, then analyses a copy of an installed
# sample with the installed terraq and draws a graph of it. No engine or
# plotting program lies beside the installed command, so the run proves it
# finds them in the installed library folder; the outputs must be whole.

function(fail)
  message(FATAL_ERROR ${ARGN})
endfunction()

set(prefix ${SCRATCH}/prefix)
file(REMOVE_RECURSE ${SCRATCH})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  fail("cmake --install failed (${status}): ${errors}")
endif()

foreach(file
    ${BIN_DIR}/terraq ${BIN_DIR}/TerraqUI ${ENGINE_DIR}/Terraq2013_DLL.so ${ENGINE_DIR}/terraq-plot
    ${DATA_DIR}/examples/cantilever-sheet-pile-py-curves.tq4d ${DATA_DIR}/examples/README.md
    ${SHARE_DIR}/applications/terraq.desktop ${SHARE_DIR}/mime/packages/terraq.xml
    ${SHARE_DIR}/icons/hicolor/16x16/apps/terraq.png ${SHARE_DIR}/icons/hicolor/256x256/apps/terraq.png
    ${SHARE_DIR}/icons/hicolor/scalable/apps/terraq.svg)
  if(NOT EXISTS ${prefix}/${file})
    fail("not installed: ${file}")
  endif()
endforeach()
if(EXISTS ${prefix}/${BIN_DIR}/Terraq2013_DLL.so)
  fail("the engine was installed beside the programs, so the run would not test the installed library folder")
endif()

set(work ${SCRATCH}/work)
file(MAKE_DIRECTORY ${work})
file(COPY ${prefix}/${DATA_DIR}/examples/cantilever-sheet-pile-py-curves.tq4d DESTINATION ${work})
execute_process(COMMAND ${prefix}/${BIN_DIR}/terraq run cantilever-sheet-pile-py-curves.tq4d
                WORKING_DIRECTORY ${work}
                RESULT_VARIABLE status OUTPUT_VARIABLE summary ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  fail("the installed terraq exited with ${status}: ${summary}${errors}")
endif()

file(READ ${work}/cantilever-sheet-pile-py-curves.tq4o report)
if(NOT report MATCHES "END OF ANALYSIS")
  fail("the report does not end the analysis")
endif()
foreach(extension tq4p tq4r)
  file(SIZE ${work}/cantilever-sheet-pile-py-curves.${extension} size)
  if(size EQUAL 0)
    fail("the .${extension} output is empty")
  endif()
endforeach()

# The installed plotting program draws a graph of the run.
execute_process(COMMAND ${prefix}/${BIN_DIR}/terraq plot --graph moment --out moment.png
                        cantilever-sheet-pile-py-curves.tq4d
                WORKING_DIRECTORY ${work}
                RESULT_VARIABLE status OUTPUT_VARIABLE said ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR NOT EXISTS ${work}/moment.png)
  fail("the installed terraq plot exited with ${status}: ${said}${errors}")
endif()

# And the calculation package of the project.
execute_process(COMMAND ${prefix}/${BIN_DIR}/terraq report --out calc.pdf cantilever-sheet-pile-py-curves.tq4d
                WORKING_DIRECTORY ${work}
                RESULT_VARIABLE status OUTPUT_VARIABLE said ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR NOT EXISTS ${work}/calc.pdf)
  fail("the installed terraq report exited with ${status}: ${said}${errors}")
endif()
file(REMOVE_RECURSE ${SCRATCH})
