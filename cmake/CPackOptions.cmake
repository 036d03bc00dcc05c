# Read by CPack in each run, for each package, in the environment of the run.
# The zip's entries take SOURCE_DATE_EPOCH as their time, written in local time: the
# commit's time, the same in every time zone.
set(ENV{SOURCE_DATE_EPOCH} ${CPACK_NAVOLET_SOURCE_DATE_EPOCH})
set(ENV{TZ} UTC)
# makensis signs the uninstaller it puts into the installer, then the installer itself.
set(CPACK_NAVOLET_NSIS_SIGN "")
if(NOT "$ENV{NAVOLET_SIGN_PKCS12}" STREQUAL "")
  set(CPACK_NAVOLET_NSIS_SIGN
      "!uninstfinalize '\"${CPACK_NAVOLET_SIGN}\" \"%1\"' = 0\n!finalize '\"${CPACK_NAVOLET_SIGN}\" \"%1\"' = 0")
endif()
