# Run at every build (cmake -P): writes the source's time, in seconds since 1970, to OUTPUT, and
# only when it changed, so that what is made from it is remade only then. The time is
# SOURCE_DATE_EPOCH when set (a rebuild from an unpacked source), else the last commit's.
if(DEFINED ENV{SOURCE_DATE_EPOCH} AND NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  set(epoch "$ENV{SOURCE_DATE_EPOCH}")
else()
  execute_process(COMMAND git -C "${ROOT}" log -1 --format=%ct
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE failed)
  if(failed OR NOT epoch MATCHES "^[0-9]+$")
    message(FATAL_ERROR "No source time: set SOURCE_DATE_EPOCH, or build from a git checkout")
  endif()
endif()
if(NOT epoch MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH is not a number of seconds: ${epoch}")
endif()
set(old "")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL "${epoch}\n")
  file(WRITE "${OUTPUT}" "${epoch}\n")
endif()
