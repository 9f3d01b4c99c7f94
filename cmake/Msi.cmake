# The Windows Installer package, made by `cmake --build --preset windows
# --target msi` with msitools' wixl: build/windows/Tavrel_Oskund-<version>.msi.
# Included by Install.cmake after WindowsZip.cmake, whose folder it installs;
# Install.cmake has read TAVREL_PUBLISHER and defined tavrel_fill_title.
if(NOT PROJECT_IS_TOP_LEVEL)
  return()
endif()
find_program(TAVREL_WIXL wixl)
find_program(TAVREL_MSIBUILD msibuild)
find_program(TAVREL_FAKETIME faketime)
if(NOT TAVREL_WIXL OR NOT TAVREL_MSIBUILD OR NOT TAVREL_FAKETIME)
  message(STATUS "MSI package: off (needs wixl, msitools and faketime: scripts/setup-deps.sh --with-tests)")
  return()
endif()

# Fixed for the product's whole life, so that every later package finds and
# replaces an earlier one.
set(TAVREL_UPGRADE_CODE 8630A457-FD18-4BDD-B21A-F85A54D8AC25)
# wixl keeps the database in the neutral code page and converts its strings
# with the one libgsf takes from WINDOWS_LANGUAGE; the import of this table
# then marks the database as Cyrillic (1251), so that every Windows shows the
# Bulgarian names whatever its own language.
file(WRITE ${staged}/_ForceCodepage.idt "\r\n\r\n1251\t_ForceCodepage\r\n")

# What the package is made from, for cmake/MakeMsi.cmake; a package of
# another version or program folder passes VERSION and STAGE in its place.
set(TAVREL_ICON ${CMAKE_BINARY_DIR}/assets/Tavrel_Oskund.ico)
set(msi_config ${staged}/msi-config.cmake)
file(CONFIGURE OUTPUT ${msi_config}.in CONTENT [[
set(WIXL "@TAVREL_WIXL@")
set(MSIBUILD "@TAVREL_MSIBUILD@")
set(FAKETIME "@TAVREL_FAKETIME@")
set(RC "@CMAKE_RC_COMPILER@")
set(TEMPLATE "@packaging@/Tavrel_Oskund.wxs.in")
set(CODEPAGE_TABLE "@staged@/_ForceCodepage.idt")
set(EPOCH_FILE "@TAVREL_SOURCE_DATE_FILE@")
set(TAVREL_PROGRAM_NAME "@TAVREL_PROGRAM_NAME@")
set(TAVREL_PUBLISHER "@TAVREL_PUBLISHER@")
set(TAVREL_UPGRADE_CODE "@TAVREL_UPGRADE_CODE@")
set(TAVREL_ICON "@TAVREL_ICON@")
if(NOT DEFINED VERSION)
  set(VERSION "@PROJECT_VERSION@")
endif()
if(NOT DEFINED STAGE)
  set(STAGE "@TAVREL_STAGE@")
endif()
]] @ONLY)
tavrel_fill_title(${msi_config})

set(msi ${CMAKE_BINARY_DIR}/Tavrel_Oskund-${PROJECT_VERSION}.msi)
add_custom_command(
  OUTPUT ${msi}
  COMMAND ${CMAKE_COMMAND} -DCONFIG=${msi_config} -DOUT=${msi} -P ${CMAKE_CURRENT_LIST_DIR}/MakeMsi.cmake
  DEPENDS ${stage_stamp} ${msi_config} ${packaging}/Tavrel_Oskund.wxs.in
          ${CMAKE_CURRENT_LIST_DIR}/MakeMsi.cmake ${TAVREL_SOURCE_DATE_FILE}
  COMMENT "Making the Windows Installer package"
  VERBATIM)
add_custom_target(msi DEPENDS ${msi})
add_dependencies(msi windows_stage)
