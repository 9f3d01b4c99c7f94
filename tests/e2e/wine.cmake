# The Windows program under Wine, for the end-to-end tests: included by
# tests/e2e/CMakeLists.txt. Sets
#   TAVREL_WINE_FOUND    whether the Windows program can run here
#   TAVREL_WINE_LAUNCH   the command that starts it (append the arguments)
#   TAVREL_WINE_ERROR_LAUNCH  the same for the error report test program
#   TAVREL_WINE_FIXTURE  the test fixture that prepares the Wine prefix
#   TAVREL_WINE_DEPENDS  the target that builds what runs
#
# Tavrel_Oskund.exe is a 32-bit program. Where the machine runs 32-bit code,
# Debian's wine32 runs that very file. Where it cannot (a kernel or sandbox
# without 32-bit support), the same sources are built once more for 64-bit
# Windows and run in Debian's wine64: the window, the back end and the checks
# are the same, only the word size differs. The file's own headers, imports
# and resources are checked by tests/windows in either case.
set(TAVREL_WINE_FOUND OFF)
set(wine32 /usr/lib/wine/wine)
set(wine64 /usr/lib/wine/wine64)
set(wine_prefix ${CMAKE_CURRENT_BINARY_DIR}/wine-prefix)

set(wine32_runs OFF)
if(EXISTS ${wine32})
  execute_process(COMMAND ${wine32} --version RESULT_VARIABLE wine32_result OUTPUT_QUIET ERROR_QUIET TIMEOUT 30)
  if(wine32_result EQUAL 0)
    set(wine32_runs ON)
  endif()
endif()
find_program(mingw32_cxx i686-w64-mingw32-g++-win32)
find_program(mingw64_cxx x86_64-w64-mingw32-g++-posix)
if(wine32_runs AND mingw32_cxx)
  set(wine_loader ${wine32})
  set(wine_arch i686)
elseif(EXISTS ${wine64} AND mingw64_cxx)
  set(wine_loader ${wine64})
  set(wine_arch x86_64)
else()
  message(STATUS "Wine end-to-end tests: off (needs wine32 that runs, or wine64 and x86_64-w64-mingw32-g++-posix)")
endif()

if(DEFINED wine_loader)
  include(ExternalProject)
  set(programs_dir ${CMAKE_CURRENT_BINARY_DIR}/windows-programs)
  ExternalProject_Add(wine_programs
    SOURCE_DIR ${CMAKE_CURRENT_SOURCE_DIR}/windows_programs
    BINARY_DIR ${programs_dir}
    CMAKE_ARGS --fresh --toolchain ${PROJECT_SOURCE_DIR}/cmake/mingw-w64.cmake -DTAVREL_MINGW_ARCH=${wine_arch}
               -DCMAKE_BUILD_TYPE=MinSizeRel
               -DTAVREL_WERROR=${TAVREL_WERROR} -DBUILD_TESTING=OFF
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${programs_dir}/Tavrel_Oskund.exe ${programs_dir}/error_report_program.exe
                     ${programs_dir}/bare_window_win32.exe)
  set(wine_program ${programs_dir}/Tavrel_Oskund.exe)
  # Where the machine runs the 32-bit program, the tests run the very file
  # the windows preset made.
  if(wine32_runs AND EXISTS ${TAVREL_WINDOWS_EXE})
    set(wine_program ${TAVREL_WINDOWS_EXE})
  endif()
  message(STATUS "Wine end-to-end tests: ${wine_program} in ${wine_loader}")

  set(TAVREL_WINE_FOUND ON)
  set(TAVREL_WINE_DEPENDS wine_programs)
  set(TAVREL_WINE_FIXTURE wine_prefix)
  set(TAVREL_WINE_LAUNCH ${CMAKE_CURRENT_SOURCE_DIR}/wine_run.sh ${wine_prefix} ${wine_loader} ${wine_program})
  set(TAVREL_WINE_ERROR_LAUNCH ${CMAKE_CURRENT_SOURCE_DIR}/wine_run.sh ${wine_prefix} ${wine_loader}
      ${programs_dir}/error_report_program.exe)
  # Once per test run: a new prefix, and the Wine server stopped at the end.
  add_test(NAME wine_prefix COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/wine_prefix.sh ${wine_prefix} ${wine_loader})
  set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 300)
  add_test(NAME wine_server_stop COMMAND sh -c "WINEPREFIX='${wine_prefix}' wineserver -k || true")
  set_tests_properties(wine_server_stop PROPERTIES FIXTURES_CLEANUP wine_prefix)
endif()
