# Writes the build's identity for the version resources and the PE time
# stamps: the commit id of SOURCE (with "-dirty" when tracked files differ
# from it), the commit's time (seconds since 1970) and its year. Run at every
# build; each file is rewritten only when its text changes, so an unchanged
# commit relinks nothing. A source folder without git (a copy) takes BUILD_ID
# and BUILD_EPOCH as given, else "unknown" and SOURCE_DATE_EPOCH or 0.
#   cmake -DSOURCE=<dir> -DOUTPUT_DIR=<dir> [-DBUILD_ID=<id> -DBUILD_EPOCH=<s>] -P BuildId.cmake
set(_id "${BUILD_ID}")
set(_epoch "${BUILD_EPOCH}")
if(NOT _id)
  execute_process(COMMAND git -C "${SOURCE}" rev-parse --verify HEAD
                  OUTPUT_VARIABLE _id OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE _rc ERROR_QUIET)
  if(_rc EQUAL 0)
    execute_process(COMMAND git -C "${SOURCE}" status --porcelain --untracked-files=no
                    OUTPUT_VARIABLE _changes RESULT_VARIABLE _rc2 ERROR_QUIET)
    if(NOT _rc2 EQUAL 0 OR NOT _changes STREQUAL "")
      string(APPEND _id "-dirty")
    endif()
    if(NOT _epoch)
      execute_process(COMMAND git -C "${SOURCE}" log -1 --format=%ct
                      OUTPUT_VARIABLE _epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    endif()
  else()
    set(_id "unknown")
  endif()
endif()
if(NOT _epoch MATCHES "^[0-9]+$")
  set(_epoch "$ENV{SOURCE_DATE_EPOCH}")
endif()
if(NOT _epoch MATCHES "^[0-9]+$")
  set(_epoch 0)
endif()
set(ENV{SOURCE_DATE_EPOCH} "${_epoch}")
string(TIMESTAMP _year "%Y" UTC)

function(write_if_changed path text)
  if(EXISTS "${path}")
    file(READ "${path}" _old)
    if(_old STREQUAL text)
      return()
    endif()
  endif()
  file(WRITE "${path}" "${text}")
endfunction()

write_if_changed("${OUTPUT_DIR}/BuildId.h" "// Generated at build time by cmake/BuildId.cmake.
#define BRISVANE_BUILD_ID \"${_id}\"
#define BRISVANE_BUILD_YEAR \"${_year}\"
")
write_if_changed("${OUTPUT_DIR}/BuildEpoch.txt" "${_epoch}\n")
