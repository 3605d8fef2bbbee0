# Development build: the portable core with its unit tests under ASan and
# UBSan, plus fuzz targets and benchmarks when asked for.
option(DISCSCREEN_SANITIZE "build with AddressSanitizer and UBSan" ON)
option(DISCSCREEN_FUZZ "build the libFuzzer targets (clang)" OFF)

add_compile_options(-Wall -Wextra -g)
if(DISCSCREEN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
if(DISCSCREEN_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

add_library(discscreen_core STATIC ${PORTABLE_SOURCES} ${CMAKE_SOURCE_DIR}/waitlib/process_tree.cpp)
target_include_directories(discscreen_core PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/waitlib)

enable_testing()
find_package(GTest REQUIRED)
file(GLOB UNIT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${UNIT_SOURCES})
target_link_libraries(unit_tests PRIVATE discscreen_core GTest::gtest_main)
include(GoogleTest)
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60)

if(DISCSCREEN_FUZZ)
  file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*.cpp)
  foreach(source ${FUZZ_SOURCES})
    get_filename_component(name ${source} NAME_WE)
    add_executable(${name} ${source})
    target_link_libraries(${name} PRIVATE discscreen_core)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  endforeach()
endif()

file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/bench/*.cpp)
foreach(source ${BENCH_SOURCES})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE discscreen_core)
endforeach()

# The disc authors' tool, over the portable core.
file(GLOB_RECURSE DISCSCREEN_TOOL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/discscreen/*.cpp)
add_executable(discscreen ${DISCSCREEN_TOOL_SOURCES})
target_link_libraries(discscreen PRIVATE discscreen_core)
# Its own includes name their folder: "check/findings.h".
target_include_directories(discscreen PRIVATE ${CMAKE_SOURCE_DIR}/tools/discscreen)
# The designer's web server, its JSON and its pictures.
find_package(PkgConfig REQUIRED)
pkg_check_modules(HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
find_package(nlohmann_json REQUIRED)
find_package(PNG REQUIRED)
# A new disc's styles are drawn with Cairo; pictures come in as JPEG and GIF too.
pkg_check_modules(CAIRO REQUIRED IMPORTED_TARGET cairo fontconfig)
find_package(JPEG REQUIRED)
find_package(GIF REQUIRED)
target_link_libraries(discscreen PRIVATE PkgConfig::HTTPLIB nlohmann_json::nlohmann_json PNG::PNG
                      PkgConfig::CAIRO JPEG::JPEG GIF::GIF PkgConfig::FREETYPE)
# `preview` runs the Wine side from the sources, with the project's builds.
target_compile_definitions(discscreen PRIVATE DISCSCREEN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
# The designer's fuzz target answers requests with the tool's own code.
if(DISCSCREEN_FUZZ)
  set(DISCSCREEN_TOOL_LIBRARY_SOURCES ${DISCSCREEN_TOOL_SOURCES})
  list(FILTER DISCSCREEN_TOOL_LIBRARY_SOURCES EXCLUDE REGEX "/tools/discscreen/main\\.cpp$")
  target_sources(design_request_fuzz PRIVATE ${DISCSCREEN_TOOL_LIBRARY_SOURCES})
  target_include_directories(design_request_fuzz PRIVATE ${CMAKE_SOURCE_DIR}/tools/discscreen)
  target_link_libraries(design_request_fuzz PRIVATE PkgConfig::HTTPLIB nlohmann_json::nlohmann_json PNG::PNG
                        PkgConfig::CAIRO JPEG::JPEG GIF::GIF PkgConfig::FREETYPE)
  target_compile_definitions(design_request_fuzz PRIVATE DISCSCREEN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
endif()
add_test(NAME discscreen_check
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/tools/check_cases.sh $<TARGET_FILE:discscreen>)
add_test(NAME discscreen_image
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/tools/image_cases.sh $<TARGET_FILE:discscreen>)
add_test(NAME discscreen_shrink
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/tools/shrink_cases.sh $<TARGET_FILE:discscreen>)
add_test(NAME discscreen_new
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/tools/new_cases.sh $<TARGET_FILE:discscreen>)
add_test(NAME discscreen_picture
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/tools/picture_cases.sh $<TARGET_FILE:discscreen>)

# Unit tests of the tool's portable parts.
add_executable(tool_unit_tests ${CMAKE_SOURCE_DIR}/tests/tools/script_rewrite_test.cpp
                               ${CMAKE_SOURCE_DIR}/tools/discscreen/design/script_rewrite.cpp
                               ${CMAKE_SOURCE_DIR}/tests/tools/edit_rebase_test.cpp
                               ${CMAKE_SOURCE_DIR}/tools/discscreen/design/edit_rebase.cpp
                               ${CMAKE_SOURCE_DIR}/tools/discscreen/design/line_diff.cpp
                               ${CMAKE_SOURCE_DIR}/tests/tools/entry_placement_test.cpp
                               ${CMAKE_SOURCE_DIR}/tools/discscreen/design/entry_placement.cpp
                               ${CMAKE_SOURCE_DIR}/tests/tools/vocabulary_test.cpp
                               ${CMAKE_SOURCE_DIR}/tools/discscreen/reading/vocabulary.cpp
                               ${CMAKE_SOURCE_DIR}/tools/discscreen/reading/vocabulary_table.cpp
                               ${CMAKE_SOURCE_DIR}/tools/discscreen/reading/vocabulary_meanings.cpp
                               ${CMAKE_SOURCE_DIR}/tools/discscreen/reading/script_reference.cpp
                               ${CMAKE_SOURCE_DIR}/tools/discscreen/design/new_entry_values.cpp
                               ${CMAKE_SOURCE_DIR}/tests/tools/page_assembly_test.cpp
                               ${CMAKE_SOURCE_DIR}/tools/discscreen/design/page_assembly.cpp
                               ${CMAKE_SOURCE_DIR}/tests/tools/wine_trace_test.cpp
                               ${CMAKE_SOURCE_DIR}/tools/discscreen/try/wine_trace.cpp)
target_include_directories(tool_unit_tests PRIVATE ${CMAKE_SOURCE_DIR}/tools/discscreen ${CMAKE_SOURCE_DIR}/tests/unit)
target_link_libraries(tool_unit_tests PRIVATE discscreen_core GTest::gtest_main)
# The vocabulary's test compares the committed script reference.
target_compile_definitions(tool_unit_tests PRIVATE DISCSCREEN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
gtest_discover_tests(tool_unit_tests DISCOVERY_TIMEOUT 60)
