# Release packages, made by CPack (tools/package.sh): a portable zip; an installer for the
# user alone made by Debian's makensis from our own script, cmake/NSIS.template.in, since
# CPack's default one installs for all users with elevation; and a Windows Installer
# package for every user of a machine, made by wixl (cmake/PackageMsi.cmake).
set(CPACK_PACKAGE_NAME Navolet)
set(CPACK_PACKAGE_VENDOR "the Navolet authors")
set(CPACK_PACKAGE_VERSION 1.0.0.5)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tray applet for the Quendal KVX410RB PC Camera")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR ZIP NSIS External)
set(CPACK_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/res/Navolet.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/res/Navolet.ico)
set(CPACK_NSIS_DISPLAY_NAME Navolet)
# The installer is a program of the same architecture as the Navolet it carries: a 64-bit
# one runs where no 32-bit program can.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(CPACK_NAVOLET_NSIS_TARGET amd64-unicode)
else()
  set(CPACK_NAVOLET_NSIS_TARGET x86-unicode)
endif()
set(CPACK_EXTERNAL_ENABLE_STAGING ON)
set(CPACK_EXTERNAL_PACKAGE_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/PackageMsi.cmake)
set(CPACK_NAVOLET_WXS ${CMAKE_CURRENT_LIST_DIR}/Navolet.wxs)
set(CPACK_NAVOLET_ICON ${PROJECT_SOURCE_DIR}/res/Navolet.ico)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(CPACK_NAVOLET_MSI_ARCH x64)
else()
  set(CPACK_NAVOLET_MSI_ARCH x86)
endif()
set(CPACK_NAVOLET_SOURCE_COMMIT ${NAVOLET_SOURCE_COMMIT})
# What CPack reads in each run (CPackOptions.cmake) and runs on the staged files
# (PackageStage.cmake): the commit's time for every time stamp, and signing where a
# certificate is given.
set(CPACK_NAVOLET_SOURCE_DATE_EPOCH ${NAVOLET_SOURCE_DATE_EPOCH})
set(CPACK_NAVOLET_SIGN ${CMAKE_CURRENT_LIST_DIR}/sign.sh)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/CPackOptions.cmake)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/PackageStage.cmake)

# Packing only copies what is built: it must not wait for every test program.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
install(TARGETS Navolet RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/docs/README-Windows.txt DESTINATION . RENAME README.txt)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
include(CPack)
