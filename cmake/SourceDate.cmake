# The one time a build puts into what it makes: the last commit's, or SOURCE_DATE_EPOCH
# where the packager sets it, never the clock's. The same commit then builds the same bytes.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(NAVOLET_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
  execute_process(COMMAND git -C ${PROJECT_SOURCE_DIR} log -1 --format=%ct
                  OUTPUT_VARIABLE NAVOLET_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
                  ERROR_QUIET)
endif()
if(NOT NAVOLET_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
  message(FATAL_ERROR "No time for the build's time stamps: no commit in ${PROJECT_SOURCE_DIR} "
                      "and SOURCE_DATE_EPOCH is not a number of seconds (\"${NAVOLET_SOURCE_DATE_EPOCH}\")")
endif()
# The commit itself, where there is one: the Windows Installer package's code names it.
execute_process(COMMAND git -C ${PROJECT_SOURCE_DIR} rev-parse HEAD
                OUTPUT_VARIABLE NAVOLET_SOURCE_COMMIT OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
