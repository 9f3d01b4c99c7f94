# The SCORM 1.2 package for learning platforms, made by `cmake --build --preset
# web --target scorm`: build/web/Tavrel_Oskund-scorm12.zip, the manifest and
# the very page the web build writes. Included by Install.cmake, which has
# defined tavrel_fill_title.
set(staged ${CMAKE_BINARY_DIR}/scorm)
set(page ${CMAKE_BINARY_DIR}/Tavrel_Oskund.html)
set(zip ${CMAKE_BINARY_DIR}/Tavrel_Oskund-scorm12.zip)
configure_file(${packaging}/imsmanifest.xml.in ${staged}/imsmanifest.xml.in @ONLY)
tavrel_fill_title(${staged}/imsmanifest.xml)
# `cmake -E tar` writes each file's access and change times into the zip,
# so two builds never agreed: zip -X leaves them out, and the files carry the
# commit's time and fixed modes, stored in UTC.
add_custom_command(
  OUTPUT ${zip}
  COMMAND ${CMAKE_COMMAND} -E copy ${page} ${staged}/Tavrel_Oskund.html
  COMMAND chmod 0644 imsmanifest.xml Tavrel_Oskund.html
  COMMAND touch -d @${TAVREL_SOURCE_DATE_EPOCH} imsmanifest.xml Tavrel_Oskund.html
  COMMAND ${CMAKE_COMMAND} -E rm -f ${zip}.part
  COMMAND ${CMAKE_COMMAND} -E env TZ=UTC zip -X -q ${zip}.part imsmanifest.xml Tavrel_Oskund.html
  COMMAND ${CMAKE_COMMAND} -E rename ${zip}.part ${zip}
  DEPENDS Tavrel_Oskund ${page} ${staged}/imsmanifest.xml
  WORKING_DIRECTORY ${staged}
  COMMENT "Making the SCORM 1.2 package"
  VERBATIM)
add_custom_target(scorm DEPENDS ${zip})
add_dependencies(scorm package_texts)
