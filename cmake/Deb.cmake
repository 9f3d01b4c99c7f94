# The Debian package, made by `cmake --build --preset linux --target package`:
# build/linux/tavrel-oskund_<version>_<arch>.deb. Included by Install.cmake,
# which has read TAVREL_PUBLISHER and installed the program, desktop entry,
# icons and metainfo. Made only from the shared-library build: a static one
# would carry FLTK and the C++ run-time that neither Depends nor the
# copyright file names.
if(TAVREL_STATIC_RUNTIME)
  message(STATUS "Debian package: off (TAVREL_STATIC_RUNTIME links what the package would have to depend on)")
  return()
endif()
set(TAVREL_MAINTAINER "Tavrel_Oskund <tavrel-oskund@${publisher_domain}>")
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/tavrel-oskund)

# Debian wants the changelog and manual pages compressed, without a time
# stamp in the gzip header so that the package is the same on every build.
# The English page is the default; the Bulgarian one is found under bg_*.
configure_file(${packaging}/changelog.in ${staged}/changelog @ONLY)
configure_file(${packaging}/Tavrel_Oskund.1.in ${staged}/Tavrel_Oskund.1 @ONLY)
configure_file(${packaging}/Tavrel_Oskund.bg.1.in ${staged}/bg/Tavrel_Oskund.1 @ONLY)
configure_file(${packaging}/copyright.in ${staged}/copyright @ONLY)
foreach(file changelog Tavrel_Oskund.1 bg/Tavrel_Oskund.1)
  execute_process(COMMAND gzip -9n -c ${staged}/${file} OUTPUT_FILE ${staged}/${file}.gz COMMAND_ERROR_IS_FATAL ANY)
endforeach()
install(FILES ${staged}/Tavrel_Oskund.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${staged}/bg/Tavrel_Oskund.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/bg/man1)
install(FILES ${staged}/changelog.gz ${staged}/copyright DESTINATION ${doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavrel-oskund)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${TAVREL_MAINTAINER}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://${TAVREL_PUBLISHER})
# The libraries the program links, as dpkg-shlibdeps finds them in the binary,
# and the fonts whose metrics the window's layout is measured with: with the
# DejaVu fonts alone that a bare system gets, the captions do not fit.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "multiplication rule of combinatorics, for school mathematics")
# CPack puts the summary above this and indents each line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A one-window teaching program in Bulgarian: the pupil picks in three lists
how many roads join the points A and B, B and C, C and D, sees the roads
drawn, and reads how many routes lead from A to D as a product formula.")
# The archive members carry the commit's time: see Reproducible.cmake.
include(CPack)
