# The Debian package, made by `cmake --build --preset linux --target package`:
# build/linux/tavrel-oskund_<version>_<arch>.deb. Included by Install.cmake,
# which has read TAVREL_PUBLISHER and installed the program, desktop entry
# and icon.
string(REGEX REPLACE "^www\\." "" publisher_domain "${TAVREL_PUBLISHER}")
set(TAVREL_MAINTAINER "Tavrel_Oskund <tavrel-oskund@${publisher_domain}>")
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/tavrel-oskund)
set(staged ${CMAKE_BINARY_DIR}/packaging)

# Debian wants the changelog and manual page compressed, without a time stamp
# in the gzip header so that the package is the same on every build.
configure_file(${packaging}/changelog.in ${staged}/changelog @ONLY)
configure_file(${packaging}/Tavrel_Oskund.1.in ${staged}/Tavrel_Oskund.1 @ONLY)
configure_file(${packaging}/copyright.in ${staged}/copyright @ONLY)
foreach(file changelog Tavrel_Oskund.1)
  execute_process(COMMAND gzip -9n -c ${staged}/${file} OUTPUT_FILE ${staged}/${file}.gz COMMAND_ERROR_IS_FATAL ANY)
endforeach()
install(FILES ${staged}/Tavrel_Oskund.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${staged}/changelog.gz ${staged}/copyright DESTINATION ${doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavrel-oskund)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${TAVREL_MAINTAINER}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://${TAVREL_PUBLISHER})
# The libraries the program links, as dpkg-shlibdeps finds them in the binary.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "multiplication rule of combinatorics, for school mathematics")
# CPack puts the summary above this and indents each line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A one-window teaching program in Bulgarian: the pupil picks in three lists
how many roads join the points A and B, B and C, C and D, sees the roads
drawn, and reads how many routes lead from A to D as a product formula.")
include(CPack)
