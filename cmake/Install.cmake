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

# What the packages call the program: the Bulgarian half of the window
# caption, the part after the publisher's address. The pack tool takes it from
# the window description itself and writes it beside the packed bytes, so it
# is known once the build has run the tool. A file that shows it is configured
# here with @TAVREL_TITLE@ left in, as <file>.in, and
# tavrel_fill_title(<file> [NEWLINE_STYLE <style>]) has the build put the title
# there.
set(TAVREL_TITLE "@TAVREL_TITLE@")
set(tavrel_title_file ${CMAKE_BINARY_DIR}/generated/title.txt)
# One target fills them all, so that no two targets ever write one at once:
# whatever packs them waits for it. It is part of the default build, which
# `cmake --install` takes the files from.
add_custom_target(package_texts ALL)
add_dependencies(package_texts Tavrel_Oskund)
function(tavrel_fill_title file)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" NEWLINE_STYLE "")
  set(line_ends "")
  if(arg_NEWLINE_STYLE)
    set(line_ends -DNEWLINE_STYLE=${arg_NEWLINE_STYLE})
  endif()
  add_custom_command(
    OUTPUT ${file}
    COMMAND ${CMAKE_COMMAND} -DTITLE_FILE=${tavrel_title_file} -DIN=${file}.in -DOUT=${file} ${line_ends}
            -P ${PROJECT_SOURCE_DIR}/cmake/FillTitle.cmake
    DEPENDS ${file}.in ${tavrel_title_file} ${PROJECT_SOURCE_DIR}/cmake/FillTitle.cmake
    VERBATIM)
  target_sources(package_texts PRIVATE ${file})
endfunction()

if(EMSCRIPTEN)
  include(${CMAKE_CURRENT_LIST_DIR}/Scorm.cmake)
endif()

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
  # One reverse-DNS id, from the publisher's address, names the desktop entry,
  # the icon and the AppStream metainfo that software centres list it by.
  string(REGEX REPLACE "^www\\." "" publisher_domain "${TAVREL_PUBLISHER}")
  string(REPLACE "." ";" domain_labels "${publisher_domain}")
  list(REVERSE domain_labels)
  list(JOIN domain_labels "." TAVREL_APP_ID)
  string(TOLOWER "${TAVREL_APP_ID}.tavrel_oskund" TAVREL_APP_ID)
  string(REPLACE "-" "_" TAVREL_APP_ID "${TAVREL_APP_ID}")
  set(staged ${CMAKE_BINARY_DIR}/packaging)
  configure_file(${PROJECT_SOURCE_DIR}/app/linux/tavrel_oskund.desktop.in ${staged}/${TAVREL_APP_ID}.desktop @ONLY)
  configure_file(${packaging}/metainfo.xml.in ${staged}/${TAVREL_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${staged}/${TAVREL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${staged}/${TAVREL_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${CMAKE_BINARY_DIR}/assets/icon_${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${TAVREL_APP_ID}.png)
  endforeach()
  # The window's picture, which the end-to-end tests take from the built
  # program; a build without them has none to ship.
  install(FILES ${CMAKE_BINARY_DIR}/assets/screenshot.png DESTINATION ${CMAKE_INSTALL_DATADIR}/tavrel-oskund OPTIONAL)
  include(${CMAKE_CURRENT_LIST_DIR}/Deb.cmake)
endif()
