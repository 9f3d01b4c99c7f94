# The real 32-bit Windows programs in an emulated machine: included by
# tests/e2e/CMakeLists.txt after wine.cmake, on a machine that cannot run
# 32-bit code itself (wine32_runs is off). QEMU emulates a whole x86-64 PC,
# whose Debian runs wine32 and in it the very Tavrel_Oskund.exe the windows
# preset made, and the i686 error report program built beside it; the e2e test
# binary runs in there too, against them (see tests/vm/e2e-in-guest.sh).
find_program(qemu_system_x86_64 qemu-system-x86_64)
find_program(debootstrap_tool debootstrap PATHS /usr/sbin /sbin)
# AUTO: only where the host cannot run the 32-bit program itself; ON: here
# as well (to check the emulated machine on a host with wine32).
set(TAVREL_E2E_VM AUTO CACHE STRING "Run the .exe in an emulated machine: AUTO, ON or OFF")
if(TAVREL_E2E_VM STREQUAL "OFF" OR (wine32_runs AND NOT TAVREL_E2E_VM STREQUAL "ON"))
  return()
endif()
if(NOT qemu_system_x86_64 OR NOT debootstrap_tool OR NOT mingw32_cxx)
  message(STATUS "32-bit Wine in an emulated machine: off (needs qemu-system-x86, debootstrap and "
                 "i686-w64-mingw32-g++-win32; scripts/setup-deps.sh --with-tests installs them)")
  return()
endif()

if(wine_arch STREQUAL "i686")
  # wine.cmake builds the i686 programs already.
  set(error_program32 ${programs_dir}/error_report_program.exe)
else()
  include(ExternalProject)
  set(programs32_dir ${CMAKE_CURRENT_BINARY_DIR}/windows-programs-i686)
  ExternalProject_Add(wine_programs_i686
    SOURCE_DIR ${CMAKE_CURRENT_SOURCE_DIR}/windows_programs
    BINARY_DIR ${programs32_dir}
    CMAKE_ARGS --fresh --toolchain ${PROJECT_SOURCE_DIR}/cmake/mingw-w64.cmake -DTAVREL_MINGW_ARCH=i686 -DCMAKE_BUILD_TYPE=MinSizeRel
               -DTAVREL_WERROR=${TAVREL_WERROR} -DBUILD_TESTING=OFF
    BUILD_COMMAND ${CMAKE_COMMAND} --build ${programs32_dir} --target error_report_program
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${programs32_dir}/error_report_program.exe)
  add_dependencies(e2e_tests wine_programs_i686)
  set(error_program32 ${programs32_dir}/error_report_program.exe)
endif()
if(NOT EXISTS ${TAVREL_WINDOWS_EXE})
  message(STATUS "32-bit Wine in an emulated machine: off until the windows preset has built ${TAVREL_WINDOWS_EXE}")
  return()
endif()
message(STATUS "32-bit Wine in an emulated machine: ${TAVREL_WINDOWS_EXE}")

set(vm_dir ${PROJECT_SOURCE_DIR}/tests/vm)
# Once per machine, and again only when its recipe changes: 4 to 15 minutes.
add_test(NAME vm_image COMMAND ${vm_dir}/build-image.sh)
set_tests_properties(vm_image PROPERTIES FIXTURES_SETUP vm_image TIMEOUT 3600 RESOURCE_LOCK vm)
add_test(NAME e2e_wine32_vm
  COMMAND ${vm_dir}/e2e-in-guest.sh ${CMAKE_CURRENT_BINARY_DIR}/e2e_wine32_vm.xml $<TARGET_FILE:e2e_tests>
          ${TAVREL_WINDOWS_EXE} ${error_program32} ${pictures})
# The runner stops a hung machine itself after 30 minutes; this is the backstop.
set_tests_properties(e2e_wine32_vm PROPERTIES FIXTURES_REQUIRED vm_image TIMEOUT 2100 RESOURCE_LOCK vm)
