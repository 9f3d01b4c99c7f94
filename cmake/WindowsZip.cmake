# The zip for Windows users, made by `cmake --build --preset windows --target
# package`: build/windows/Tavrel_Oskund-<version>-windows.zip, one folder
# Tavrel_Oskund with the program, a read-me in Bulgarian and English and the
# notices of the run-time parts linked into the program. The MSI installs the
# same folder. Included by Install.cmake, which has read TAVREL_PUBLISHER and
# defined tavrel_fill_title for TAVREL_TITLE.

# The Start menu, Programs and Features and the read-me show the program's title.
set(TAVREL_PROGRAM_NAME ${TAVREL_TITLE})

# Notepad on every Windows from XP on reads UTF-8 by its byte order mark,
# which the template carries, and wants CRLF.
set(staged ${CMAKE_BINARY_DIR}/packaging)
configure_file(${packaging}/README.txt.in ${staged}/README.txt.in @ONLY)
tavrel_fill_title(${staged}/README.txt NEWLINE_STYLE CRLF)
configure_file(${packaging}/NOTICES.txt ${staged}/NOTICES.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${staged}/README.txt ${staged}/NOTICES.txt DESTINATION .)

# The folder both packages are made from. Its files carry the time of the
# last commit and fixed modes, whatever the clock and umask of this build.
set(TAVREL_STAGE_ROOT ${CMAKE_BINARY_DIR}/stage)
set(TAVREL_STAGE ${TAVREL_STAGE_ROOT}/Tavrel_Oskund)
# Their old times would mislead make, so a stamp of today stands for them.
set(stage_files ${TAVREL_STAGE}/Tavrel_Oskund.exe ${TAVREL_STAGE}/README.txt ${TAVREL_STAGE}/NOTICES.txt)
set(stage_stamp ${TAVREL_STAGE_ROOT}.stamp)
add_custom_command(
  OUTPUT ${stage_stamp}
  BYPRODUCTS ${stage_files}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${TAVREL_STAGE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TAVREL_STAGE}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Tavrel_Oskund> ${staged}/README.txt ${staged}/NOTICES.txt ${TAVREL_STAGE}
  COMMAND chmod 0755 ${TAVREL_STAGE} ${TAVREL_STAGE}/Tavrel_Oskund.exe
  COMMAND chmod 0644 ${TAVREL_STAGE}/README.txt ${TAVREL_STAGE}/NOTICES.txt
  COMMAND touch -d @${TAVREL_SOURCE_DATE_EPOCH} ${TAVREL_STAGE} ${stage_files}
  COMMAND ${CMAKE_COMMAND} -E touch ${stage_stamp}
  DEPENDS Tavrel_Oskund $<TARGET_FILE:Tavrel_Oskund> ${staged}/README.txt ${staged}/NOTICES.txt
          ${TAVREL_SOURCE_DATE_FILE}
  COMMENT "Staging the Windows packages' folder"
  VERBATIM)
# One target owns the folder, so that the zip and the MSI never stage it twice at once.
add_custom_target(windows_stage DEPENDS ${stage_stamp})
add_dependencies(windows_stage package_texts)

# zip stores local times: in UTC they are the commit's. -X leaves out the
# owner and the extra time fields; the files go in in a fixed order.
set(zip ${CMAKE_BINARY_DIR}/Tavrel_Oskund-${PROJECT_VERSION}-windows.zip)
add_custom_command(
  OUTPUT ${zip}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${zip}
  COMMAND ${CMAKE_COMMAND} -E env TZ=UTC zip -X -q ${zip} Tavrel_Oskund/ Tavrel_Oskund/Tavrel_Oskund.exe
          Tavrel_Oskund/README.txt Tavrel_Oskund/NOTICES.txt
  DEPENDS ${stage_stamp}
  WORKING_DIRECTORY ${TAVREL_STAGE_ROOT}
  COMMENT "Making ${zip}"
  VERBATIM)
# CPack made the zip once; its files left in a build folder would claim the name.
file(REMOVE ${CMAKE_BINARY_DIR}/CPackConfig.cmake ${CMAKE_BINARY_DIR}/CPackSourceConfig.cmake)
add_custom_target(package DEPENDS ${zip})
add_dependencies(package windows_stage)
