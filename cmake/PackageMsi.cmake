# Run by CPack's External generator on the files it has staged (and PackageStage.cmake has
# signed and stamped): packs them into Navolet-<version>-<system>.msi with wixl from
# cmake/Navolet.wxs, then signs the package where a certificate is given.
# The same commit gives the same bytes: wixl writes the clock's time into the summary
# information and a random package code, so it runs at the commit's time (faketime) and
# the package code is set afterwards (msibuild). Every code but the upgrade code is a
# name-based UUID: the product code of a version and architecture, the package code of
# those and the commit.
set(stage ${CPACK_TEMPORARY_DIRECTORY})
set(msi ${CPACK_TOPLEVEL_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.msi)

# Windows Installer compares only the first three fields of a version, and Navolet counts
# its builds in the fourth: A.B.C.D is the package's A.B.(C*1000+D), so that 1.0.0.6
# upgrades 1.0.0.5 and 1.0.0.5 over 1.0.0.6 is refused.
string(REGEX MATCH "^([0-9]+)\\.([0-9]+)\\.([0-9]+)\\.([0-9]+)$" matched "${CPACK_PACKAGE_VERSION}")
if(matched)
  math(EXPR build "${CMAKE_MATCH_3} * 1000 + ${CMAKE_MATCH_4}")
endif()
if(NOT matched OR CMAKE_MATCH_1 GREATER 255 OR CMAKE_MATCH_2 GREATER 255 OR CMAKE_MATCH_4 GREATER 999
   OR build GREATER 65535)
  message(FATAL_ERROR "Version ${CPACK_PACKAGE_VERSION} has no Windows Installer version A.B.(C*1000+D)")
endif()
set(msi_version ${CMAKE_MATCH_1}.${CMAKE_MATCH_2}.${build})

if(CPACK_NAVOLET_MSI_ARCH STREQUAL x64)
  set(folder ProgramFiles64Folder)
  set(system System64Folder)
  set(win64 yes)
  set(platform x64)
else()
  set(folder ProgramFilesFolder)
  set(system SystemFolder)
  set(win64 no)
  set(platform Intel)
endif()
# Navolet's own namespace for name-based UUIDs.
set(ns 50A53792-2688-4F1B-9F7E-7793EEC6B9CE)
macro(code var name)
  string(UUID ${var} NAMESPACE ${ns} NAME "${name}" TYPE SHA1 UPPER)
endmacro()
code(product_code "product ${CPACK_PACKAGE_VERSION} ${CPACK_NAVOLET_MSI_ARCH}")
code(package_code "package ${CPACK_PACKAGE_VERSION} ${CPACK_NAVOLET_MSI_ARCH} ${CPACK_NAVOLET_SOURCE_COMMIT} ${CPACK_NAVOLET_SOURCE_DATE_EPOCH}")
# A component keeps its code from version to version: its files stay where they were.
code(program_guid "component Program ${CPACK_NAVOLET_MSI_ARCH}")
code(autostart_guid "component Autostart ${CPACK_NAVOLET_MSI_ARCH}")
code(start_menu_guid "component StartMenu ${CPACK_NAVOLET_MSI_ARCH}")
# The upgrade code never changes, and both architectures share it.
set(upgrade_code B8A1E9CE-50DB-4808-8099-92D18C8052DE)

# Navolet.exe's version and language, from its version block: VS_FIXEDFILEINFO's file
# version, and the first language of VarFileInfo's Translation value, which follows its
# key at the next 4-byte boundary.
file(READ ${stage}/Navolet.exe exe HEX)
string(FIND "${exe}" "bd04effe" fixed)
string(FIND "${exe}" "5400720061006e0073006c006100740069006f006e000000" translation)
math(EXPR odd "(${fixed} | ${translation}) % 2")
if(fixed LESS 0 OR translation LESS 0 OR odd)
  message(FATAL_ERROR "Navolet.exe has no version block")
endif()
# The little-endian WORD at a byte offset of Navolet.exe.
function(word var at)
  math(EXPR at "(${at}) * 2")
  string(SUBSTRING "${exe}" ${at} 4 w)
  string(SUBSTRING "${w}" 2 2 high)
  string(SUBSTRING "${w}" 0 2 low)
  math(EXPR w "0x${high}${low}")
  set(${var} ${w} PARENT_SCOPE)
endfunction()
math(EXPR fixed "${fixed} / 2")
math(EXPR translation "(${translation} / 2 + 24 + 3) / 4 * 4")
word(v1 "${fixed} + 10")
word(v2 "${fixed} + 8")
word(v3 "${fixed} + 14")
word(v4 "${fixed} + 12")
word(file_language ${translation})
set(file_version ${v1}.${v2}.${v3}.${v4})

# wixl finds the files beside the source it reads.
file(COPY ${CPACK_NAVOLET_WXS} ${CPACK_NAVOLET_ICON} DESTINATION ${stage})
get_filename_component(wxs ${CPACK_NAVOLET_WXS} NAME)
# faketime's frozen clock is local time: the commit's, in UTC.
string(TIMESTAMP now "%Y-%m-%d %H:%M:%S" UTC)
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env TZ=UTC
          faketime -f "${now}" wixl -a ${CPACK_NAVOLET_MSI_ARCH} -o ${msi}
          -D Version=${CPACK_PACKAGE_VERSION} -D MsiVersion=${msi_version} -D ProductCode=${product_code}
          -D "Vendor=${CPACK_PACKAGE_VENDOR}" -D "Summary=${CPACK_PACKAGE_DESCRIPTION_SUMMARY}"
          -D ProgramFilesFolder=${folder} -D SystemFolder=${system} -D Win64=${win64}
          -D UpgradeCode=${upgrade_code} -D ProgramGuid=${program_guid} -D AutostartGuid=${autostart_guid}
          -D StartMenuGuid=${start_menu_guid} ${wxs}
  WORKING_DIRECTORY ${stage} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "wixl made no package from ${wxs}")
endif()
# What wixl cannot write, msibuild writes into its tables:
# - the upgrade takes the same version too (VersionMaxInclusive, 512, beside MigrateFeatures,
#   1), so that a package of the other architecture at this version is replaced, not
#   installed beside it; the downgrade's bound stays exclusive, or that same version would
#   be refused as well. Of the same architecture, the same version is the same product.
#   A key column cannot be changed in place: the row is written anew;
# - AUTOSTART reaches a managed install's server only as a secure property;
# - Navolet.exe is a versioned file: its row carries its version and language, and it has
#   no hash, which Windows Installer keeps for files without a version.
# Then the summary's subject, author and template again as wixl wrote them, with the
# package code.
execute_process(COMMAND msibuild ${msi}
  -q "DELETE FROM Upgrade WHERE ActionProperty = 'WIX_UPGRADE_DETECTED'"
  -q "INSERT INTO Upgrade (UpgradeCode, VersionMax, Attributes, ActionProperty)
      VALUES ('{${upgrade_code}}', '${msi_version}', 513, 'WIX_UPGRADE_DETECTED')"
  -q "UPDATE Property SET Value = 'AUTOSTART;WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED'
      WHERE Property = 'SecureCustomProperties'"
  -q "UPDATE File SET Version = '${file_version}', Language = '${file_language}' WHERE File = 'Navolet.exe'"
  -q "DELETE FROM MsiFileHash WHERE File_ = 'Navolet.exe'"
  -s Navolet "${CPACK_PACKAGE_VENDOR}" "${platform};1033" "{${package_code}}"
  RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "msibuild could not complete the tables and summary of ${msi}")
endif()
if(NOT "$ENV{NAVOLET_SIGN_PKCS12}" STREQUAL "")
  execute_process(COMMAND ${CPACK_NAVOLET_SIGN} ${msi} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${msi} could not be signed")
  endif()
endif()
set(CPACK_EXTERNAL_BUILT_PACKAGES ${msi})
