# Installation: on Linux the program, its desktop entry, icon, manual page and
# package documents in the freedesktop and Debian places, packed as a .deb;
# on Windows a zip with the program's folder for users to unpack and an MSI
# for school IT.
if(NOT TARGET Tavrel_Oskund)
  return()
endif()

# The publisher's web address, read from the one header that holds it.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/window/publisher.h)
file(STRINGS ${PROJECT_SOURCE_DIR}/window/publisher.h publisher_define REGEX "^#define TAVREL_PUBLISHER_WEB_ADDRESS ")
string(REGEX REPLACE "^#define TAVREL_PUBLISHER_WEB_ADDRESS \"([^\"]*)\".*$" "\\1" TAVREL_PUBLISHER "${publisher_define}")
if(NOT TAVREL_PUBLISHER MATCHES "^[A-Za-z0-9.-]+\\.[A-Za-z]+$")
  message(FATAL_ERROR "window/publisher.h: no usable web address in TAVREL_PUBLISHER_WEB_ADDRESS")
endif()
set(packaging ${PROJECT_SOURCE_DIR}/packaging)

if(WIN32)
  install(TARGETS Tavrel_Oskund RUNTIME DESTINATION .)
  include(${CMAKE_CURRENT_LIST_DIR}/WindowsZip.cmake)
  include(${CMAKE_CURRENT_LIST_DIR}/Msi.cmake)
else()
  include(GNUInstallDirs)
  install(TARGETS Tavrel_Oskund RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # Shipped without symbols, as Debian's packaging tools would strip it.
  install(CODE "execute_process(COMMAND ${CMAKE_STRIP} --strip-unneeded --remove-section=.comment
    --remove-section=.note \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/Tavrel_Oskund\"
    COMMAND_ERROR_IS_FATAL ANY)")
  install(FILES ${PROJECT_SOURCE_DIR}/app/linux/Tavrel_Oskund.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_BINARY_DIR}/assets/tavrel_oskund.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)
  include(${CMAKE_CURRENT_LIST_DIR}/Deb.cmake)
endif()
