# The product: AUTORUN.EXE and the two wait libraries, plus the helper
# programs of the Wine suites. Everything is linked statically and imports
# only system DLLs.
set(DIST_DIR ${CMAKE_SOURCE_DIR}/dist CACHE PATH "where the disc files go")
set(WINE_BIN_DIR ${CMAKE_BINARY_DIR}/wine-bin)

add_compile_definitions(WINVER=0x0400 _WIN32_WINNT=0x0400 WIN32_LEAN_AND_MEAN)
# Link-time optimisation: the program is read from the disc before its
# screen appears, and whole-program -Os makes it about a fifth smaller.
# Functions called once stay functions: inlined into their one caller they
# made the program about 2 KB larger.
add_compile_options(-Oz -Wall -Wextra -fno-exceptions -fno-rtti -fno-threadsafe-statics
  -fno-inline-functions-called-once
  -fno-asynchronous-unwind-tables -fno-unwind-tables -ffunction-sections -fdata-sections -flto
  "SHELL:-include ${CMAKE_SOURCE_DIR}/cmake/runtime_prefix.h")
add_link_options(-static -s -Oz -flto -flto-partition=one -Wl,--gc-sections
  -Wl,--subsystem,windows:4.0 -Wl,--major-os-version,4 -Wl,--minor-os-version,0)

set(SYSTEM_LIBS kernel32 user32 gdi32 advapi32 shell32 winmm)

# Entry symbols carry the C prefix (and a DLL's its stdcall decoration) on
# i686 only.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL x86_64)
  set(DLL_ENTRY DllMain)
  set(PROGRAM_ENTRY ProgramEntry)
else()
  set(DLL_ENTRY _DllMain@12)
  set(PROGRAM_ENTRY _ProgramEntry)
endif()

# What a C runtime would give the shipped binaries: the program's entry and
# exit, the memory and string functions, and 64-bit division. Kept out of
# autorun_core, whose Win32 test programs link the C runtime. Compiled
# without link-time optimisation: calls to these functions appear only
# during it.
set(LEAN_CRT_SOURCES ${CMAKE_SOURCE_DIR}/src/win/program_entry.cpp
  ${CMAKE_SOURCE_DIR}/src/win/memory_functions.cpp
  ${CMAKE_SOURCE_DIR}/src/win/long_division.cpp)
list(REMOVE_ITEM ALL_SOURCES ${CMAKE_SOURCE_DIR}/src/app/main_win.cpp ${LEAN_CRT_SOURCES})
set_source_files_properties(${LEAN_CRT_SOURCES} PROPERTIES
  COMPILE_OPTIONS "-fno-tree-loop-distribute-patterns;-fno-builtin;-fno-lto")

add_library(autorun_core STATIC ${ALL_SOURCES})
target_include_directories(autorun_core PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/res)
target_link_libraries(autorun_core PUBLIC ${SYSTEM_LIBS})

# The resource compiler does not tell CMake about the files it embeds.
set_source_files_properties(res/autorun.rc PROPERTIES
  OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/res/autorun.manifest)
add_executable(autorun WIN32 src/app/main_win.cpp ${LEAN_CRT_SOURCES} res/autorun.rc)
# No C runtime: the program imports the system DLLs alone (libgcc for the
# arithmetic helpers the compiler calls).
target_link_libraries(autorun PRIVATE autorun_core gcc)
target_link_options(autorun PRIVATE -nostdlib -Wl,-e,${PROGRAM_ENTRY})
set_target_properties(autorun PROPERTIES OUTPUT_NAME AUTORUN SUFFIX .EXE
  RUNTIME_OUTPUT_DIRECTORY ${DIST_DIR})

foreach(flavour 95 NT)
  add_library(wait_${flavour} SHARED waitlib/wait_process.cpp waitlib/process_tree.cpp
    src/win/memory_functions.cpp waitlib/wait_process.def)
  target_compile_definitions(wait_${flavour} PRIVATE WAIT_FLAVOUR_${flavour})
  target_compile_options(wait_${flavour} PRIVATE -fno-tree-loop-distribute-patterns -fno-lto)
  # No C runtime: the DLLs import KERNEL32 alone.
  target_link_libraries(wait_${flavour} PRIVATE kernel32 gcc)
  target_link_options(wait_${flavour} PRIVATE -nostdlib -Wl,-e,${DLL_ENTRY}
    -Wl,--kill-at -Wl,--enable-stdcall-fixup)
  set_target_properties(wait_${flavour} PROPERTIES PREFIX "" OUTPUT_NAME AUTORUN_${flavour}
    SUFFIX .DLL RUNTIME_OUTPUT_DIRECTORY ${DIST_DIR})
endforeach()

# Helper programs that the Wine suites start (one .cpp each) and Win32-level
# tests that link the screen's own objects.
file(GLOB HELPER_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/wine/helpers/*.cpp)
foreach(source ${HELPER_SOURCES})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE ${SYSTEM_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${WINE_BIN_DIR})
endforeach()
file(GLOB WIN32_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/wine/win32/*.cpp)
foreach(source ${WIN32_TEST_SOURCES})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source} res/autorun.rc)
  target_link_libraries(${name} PRIVATE autorun_core)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${WINE_BIN_DIR})
endforeach()
# It reads the screen through the accessibility layer, as a screen reader does.
target_link_libraries(accessible_names_test PRIVATE oleacc ole32 oleaut32)

# The program's own entry point, in a probe built the same way.
add_executable(entry_probe WIN32 tests/wine/lean/entry_probe.cpp ${LEAN_CRT_SOURCES})
target_link_libraries(entry_probe PRIVATE kernel32 gcc)
target_link_options(entry_probe PRIVATE -nostdlib -Wl,-e,${PROGRAM_ENTRY})
set_target_properties(entry_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${WINE_BIN_DIR})
