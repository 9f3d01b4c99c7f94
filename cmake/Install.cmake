# Installation: on Linux the program, its desktop entry and its icon in the
# freedesktop places; on Windows a zip with the .exe for users to unpack.
if(NOT TARGET Tavrel_Oskund)
  return()
endif()

if(WIN32)
  install(TARGETS Tavrel_Oskund RUNTIME DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_NAME Tavrel_Oskund)
  set(CPACK_PACKAGE_FILE_NAME Tavrel_Oskund-${PROJECT_VERSION}-windows)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  include(CPack)
else()
  include(GNUInstallDirs)
  install(TARGETS Tavrel_Oskund RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/app/linux/Tavrel_Oskund.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_BINARY_DIR}/assets/tavrel_oskund.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)
endif()
