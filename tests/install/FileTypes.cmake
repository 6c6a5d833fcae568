# The file types: the MIME file is well-formed XML, the desktop's MIME
# database compiler accepts it and maps each extension to its type, and every
# type the desktop entry claims to open is one the file defines.

function(fail)
  message(FATAL_ERROR ${ARGN})
endfunction()

execute_process(COMMAND ${XMLLINT} --noout ${MIME_FILE} RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  fail("xmllint rejects ${MIME_FILE}: ${errors}")
endif()

# A database of its own in SCRATCH/mime, named as the user's data folder so
# that the compiler has nothing to say but what it finds in the file.
set(database ${SCRATCH}/mime)
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${database}/packages)
file(COPY ${MIME_FILE} DESTINATION ${database}/packages)
execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${SCRATCH} ${UPDATE_MIME_DATABASE} ${database}
                RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR NOT errors STREQUAL "")
  fail("update-mime-database rejects ${MIME_FILE} (${status}): ${errors}")
endif()

file(READ ${database}/globs2 globs)
foreach(pair
    "application/x-terraq-project:*.tq4d" "application/x-terraq-project-older:*.tqd"
    "text/x-terraq-report:*.tq4o" "text/x-terraq-plot:*.tq4p" "text/x-terraq-run-notes:*.tq4r")
  string(FIND "${globs}" "${pair}" at)
  if(at EQUAL -1)
    fail("the MIME database has no ${pair}")
  endif()
endforeach()
file(READ ${database}/subclasses subclasses)
string(REGEX MATCHALL "[^\n]+ text/plain" textTypes "${subclasses}")
list(LENGTH textTypes count)
if(NOT count EQUAL 5)
  fail("every type should be text a text editor can open; the database has: ${subclasses}")
endif()

# The entry's list ("a;b;") reads as a CMake list as it stands.
file(READ ${DESKTOP_FILE} entry)
if(NOT entry MATCHES "\nMimeType=([^\n]*)")
  fail("the desktop entry opens no file type")
endif()
set(claimed "${CMAKE_MATCH_1}")
file(READ ${database}/types types)
foreach(type IN LISTS claimed)
  string(FIND "${types}" "${type}\n" at)
  if(at EQUAL -1)
    fail("the desktop entry opens ${type}, which the MIME file does not define")
  endif()
endforeach()
file(REMOVE_RECURSE ${SCRATCH})
