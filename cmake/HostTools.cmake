# The pack tool turns the readable window description and the drawn pictures
# into the bytes the program carries. It always runs on the build machine, so
# a cross build first builds it with the host's own compiler.
if(CMAKE_CROSSCOMPILING)
  include(ExternalProject)
  # Only the page's build writes markup on the build machine.
  set(web_tools OFF)
  if(EMSCRIPTEN)
    set(web_tools ON)
  endif()
  ExternalProject_Add(host_tools
    SOURCE_DIR ${PROJECT_SOURCE_DIR}/tools
    BINARY_DIR ${CMAKE_BINARY_DIR}/host-tools
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=c++ -DTAVREL_WERROR=${TAVREL_WERROR}
               -DTAVREL_WEB_TOOLS=${web_tools}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${CMAKE_BINARY_DIR}/host-tools/tavrel_pack ${CMAKE_BINARY_DIR}/host-tools/tavrel_deflate
                     ${CMAKE_BINARY_DIR}/host-tools/tavrel_draw_window ${CMAKE_BINARY_DIR}/host-tools/tavrel_words)
  set(TAVREL_PACK_TOOL ${CMAKE_BINARY_DIR}/host-tools/tavrel_pack)
  set(TAVREL_DEFLATE_TOOL ${CMAKE_BINARY_DIR}/host-tools/tavrel_deflate)
  set(TAVREL_DRAW_TOOL ${CMAKE_BINARY_DIR}/host-tools/tavrel_draw_window)
  set(TAVREL_WORDS_TOOL ${CMAKE_BINARY_DIR}/host-tools/tavrel_words)
  set(TAVREL_HOST_TOOLS host_tools)
  # The tool file too: a changed description rebuilds the tool, which must
  # then pack again.
  set(TAVREL_PACK_DEPENDS host_tools ${TAVREL_PACK_TOOL})
else()
  add_subdirectory(tools)
  set(TAVREL_PACK_TOOL $<TARGET_FILE:tavrel_pack>)
  set(TAVREL_PACK_DEPENDS tavrel_pack)
  set(TAVREL_DEFLATE_TOOL $<TARGET_FILE:tavrel_deflate>)
  set(TAVREL_HOST_TOOLS tavrel_deflate)
endif()
