# Run by CPack on the files it has staged for a package, before it packs them: Navolet.exe
# is signed where a certificate is given, and every file takes the commit's time, which the
# installer stores and gives the files it writes.
if(NOT "$ENV{NAVOLET_SIGN_PKCS12}" STREQUAL "")
  execute_process(COMMAND ${CPACK_NAVOLET_SIGN} ${CPACK_TEMPORARY_DIRECTORY}/Navolet.exe
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "Navolet.exe could not be signed")
  endif()
endif()
file(GLOB_RECURSE staged LIST_DIRECTORIES true ${CPACK_TEMPORARY_DIRECTORY}/*)
execute_process(COMMAND touch -h -d @${CPACK_NAVOLET_SOURCE_DATE_EPOCH} ${CPACK_TEMPORARY_DIRECTORY} ${staged}
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "The staged files could not take the commit's time")
endif()
