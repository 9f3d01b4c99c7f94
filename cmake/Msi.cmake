# The Windows Installer package, made by `cmake --build --preset windows
# --target msi` with msitools' wixl: build/windows/Tavrel_Oskund-<version>.msi.
# Included by Install.cmake, which has read TAVREL_PUBLISHER and TAVREL_TITLE.
if(NOT PROJECT_IS_TOP_LEVEL)
  return()
endif()
find_program(TAVREL_WIXL wixl)
find_program(TAVREL_MSIBUILD msibuild)
if(NOT TAVREL_WIXL OR NOT TAVREL_MSIBUILD)
  message(STATUS "MSI package: off (needs wixl and msitools: scripts/setup-deps.sh --with-tests)")
  return()
endif()

# The Start menu and Programs and Features show the program's title.
set(TAVREL_MSI_NAME ${TAVREL_TITLE})

# Fixed for the product's whole life, so that every later package finds and
# replaces an earlier one. The product code follows from the version: a
# rebuild of one version is the same product, a new version a new one.
set(TAVREL_UPGRADE_CODE 8630A457-FD18-4BDD-B21A-F85A54D8AC25)
string(UUID TAVREL_PRODUCT_CODE NAMESPACE ${TAVREL_UPGRADE_CODE} NAME ${PROJECT_VERSION} TYPE SHA1 UPPER)

set(staged ${CMAKE_BINARY_DIR}/packaging)
set(wxs ${staged}/Tavrel_Oskund.wxs)
set(msi ${CMAKE_BINARY_DIR}/Tavrel_Oskund-${PROJECT_VERSION}.msi)
configure_file(${packaging}/Tavrel_Oskund.wxs.in ${wxs} @ONLY)
# wixl keeps the database in the neutral code page and converts its strings
# with the one libgsf takes from WINDOWS_LANGUAGE; the import of this table
# then marks the database as Cyrillic (1251), so that every Windows shows the
# Bulgarian names whatever its own language.
file(WRITE ${staged}/_ForceCodepage.idt "\r\n\r\n1251\t_ForceCodepage\r\n")
add_custom_command(
  OUTPUT ${msi}
  COMMAND ${CMAKE_COMMAND} -E env WINDOWS_LANGUAGE=bg ${TAVREL_WIXL} --arch x86 -o ${msi}.part ${wxs}
  COMMAND ${CMAKE_COMMAND} -E env WINDOWS_LANGUAGE=bg ${TAVREL_MSIBUILD} ${msi}.part -i ${staged}/_ForceCodepage.idt
  COMMAND ${CMAKE_COMMAND} -E rename ${msi}.part ${msi}
  DEPENDS Tavrel_Oskund $<TARGET_FILE:Tavrel_Oskund> ${wxs}
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  COMMENT "Making the Windows Installer package"
  VERBATIM)
add_custom_target(msi DEPENDS ${msi})
