# The SCORM 1.2 package for learning platforms, made by `cmake --build --preset
# web --target scorm`: build/web/Tavrel_Oskund-scorm12.zip, the manifest and
# the very page the web build writes. Included by Install.cmake, which has
# defined tavrel_fill_title.
set(staged ${CMAKE_BINARY_DIR}/scorm)
set(page ${CMAKE_BINARY_DIR}/Tavrel_Oskund.html)
set(zip ${CMAKE_BINARY_DIR}/Tavrel_Oskund-scorm12.zip)
configure_file(${packaging}/imsmanifest.xml.in ${staged}/imsmanifest.xml.in @ONLY)
tavrel_fill_title(${staged}/imsmanifest.xml)
add_custom_command(
  OUTPUT ${zip}
  COMMAND ${CMAKE_COMMAND} -E copy ${page} ${staged}/Tavrel_Oskund.html
  COMMAND ${CMAKE_COMMAND} -E tar cf ${zip}.part --format=zip "--mtime=2000-01-01 00:00:00 UTC" imsmanifest.xml
          Tavrel_Oskund.html
  COMMAND ${CMAKE_COMMAND} -E rename ${zip}.part ${zip}
  DEPENDS Tavrel_Oskund ${page} ${staged}/imsmanifest.xml
  WORKING_DIRECTORY ${staged}
  COMMENT "Making the SCORM 1.2 package"
  VERBATIM)
add_custom_target(scorm DEPENDS ${zip})
add_dependencies(scorm package_texts)
