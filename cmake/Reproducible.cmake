# Every deliverable comes out byte for byte the same from any build of one
# commit: in any folder, at any time, on any machine.
#
# The one time a package may carry is that of the last commit, the same rule
# as Debian's SOURCE_DATE_EPOCH (taken from the environment when it is set).
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(TAVREL_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND git -C ${PROJECT_SOURCE_DIR} log -1 --format=%ct OUTPUT_VARIABLE TAVREL_SOURCE_DATE_EPOCH
                  OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  # A new commit configures the build again.
  execute_process(COMMAND git -C ${PROJECT_SOURCE_DIR} rev-parse --path-format=absolute --git-path logs/HEAD
                  OUTPUT_VARIABLE head_log OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(EXISTS "${head_log}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${head_log})
  endif()
endif()
if(NOT TAVREL_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
  # A source tree without its history: the earliest time a zip can hold.
  set(TAVREL_SOURCE_DATE_EPOCH 315532800)
endif()
# Rewritten only when the time changes, so that what is stamped with it
# depends on this file and is made again then.
set(TAVREL_SOURCE_DATE_FILE ${CMAKE_BINARY_DIR}/source-date-epoch)
file(CONFIGURE OUTPUT ${TAVREL_SOURCE_DATE_FILE} CONTENT "${TAVREL_SOURCE_DATE_EPOCH}\n")

# CPack stamps the archives it makes with SOURCE_DATE_EPOCH when the
# environment has it; this file, read by cpack, gives it the commit's time.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/cpack-source-date.cmake)
file(CONFIGURE OUTPUT ${CPACK_PROJECT_CONFIG_FILE} CONTENT "set(ENV{SOURCE_DATE_EPOCH} ${TAVREL_SOURCE_DATE_EPOCH})\n")

# No folder of this machine in the objects: not in __FILE__, nor in the debug
# information whose hash becomes the Linux program's build id. The build
# folder may lie inside the sources; the compilers try the last map first.
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)
# The PE header's link time.
if(WIN32)
  add_link_options(-Wl,--no-insert-timestamp)
endif()
