# Helpers shared by every folder's CMakeLists.

# Warnings are errors on our own code (never on third-party headers, which come in as SYSTEM).
function(tavo_warnings target)
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:C,CXX>:-Wall -Wextra -Werror>)
endfunction()

# Platform code is chosen by folder: <dir>/posix/*.cpp on Linux, <dir>/win/*.cpp on Windows.
function(tavo_platform_sources out dir)
  if(WIN32)
    file(GLOB found CONFIGURE_DEPENDS ${dir}/win/*.cpp)
  else()
    file(GLOB found CONFIGURE_DEPENDS ${dir}/posix/*.cpp)
  endif()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# A static library of our own code, built position-independent so it can go into the module.
function(tavo_library target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  if(NOT ARG_SOURCES)
    # A layer that has only headers so far.
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${ARG_LINKS})
    return()
  endif()
  add_library(${target} STATIC ${ARG_SOURCES})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  if(ARG_LINKS)
    target_link_libraries(${target} PUBLIC ${ARG_LINKS})
  endif()
  tavo_warnings(${target})
endfunction()

# One GoogleTest executable per subsystem folder; its tests register with ctest one by one.
function(tavo_test target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS;LABELS" ${ARGN})
  if(NOT ARG_SOURCES)
    return()
  endif()
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LINKS} GTest::gtest GTest::gmock GTest::gtest_main)
  tavo_warnings(${target})
  include(GoogleTest)
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS "${ARG_LABELS}")
  if("concurrency" IN_LIST ARG_LABELS AND TARGET concurrency_tests)
    add_dependencies(concurrency_tests ${target})
  endif()
endfunction()

# A Windows module-definition file written in the 32-bit form (the right-hand side of each export,
# or the name of an export by ordinal, is the stdcall symbol "Name@n"): for x86-64, where symbols
# carry no decoration, that "@n" is dropped. Exported names are left as written (never --kill-at).
function(tavo_windows_def out def)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    get_filename_component(name ${def} NAME)
    file(READ ${def} text)
    string(REGEX REPLACE "(=[ \t]*[A-Za-z_][A-Za-z0-9_]*)@[0-9]+" "\\1" text "${text}")
    # An export by ordinal only: "Name@n @ordinal NONAME".
    string(REGEX REPLACE "\n([ \t]+[A-Za-z_][A-Za-z0-9_]*)@[0-9]+([ \t]+@)" "\n\\1\\2" text
                         "${text}")
    set(def ${CMAKE_CURRENT_BINARY_DIR}/${name})
    file(GENERATE OUTPUT ${def} CONTENT "${text}")
  endif()
  set(${out} ${def} PARENT_SCOPE)
endfunction()

# One GoogleTest executable of the Windows suite (tests/win and its sub-folders), run under Wine
# by ctest through the cross-compiling emulator. Each executable is one ctest: starting a
# program under Wine costs seconds, so its tests are not discovered one by one.
#   tavo_win_test(<target> SOURCES ... [LINKS ...] [LABELS ...] [DEFINITIONS ...]
#                 [OUTPUT_DIRECTORY <dir>] [TIMEOUT <seconds>] [GTEST_FILTER <filter>])
function(tavo_win_test target)
  cmake_parse_arguments(ARG "" "OUTPUT_DIRECTORY;TIMEOUT;GTEST_FILTER"
                        "SOURCES;LINKS;LABELS;DEFINITIONS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LINKS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${target} PRIVATE ${ARG_DEFINITIONS})
  tavo_warnings(${target})
  if(ARG_OUTPUT_DIRECTORY)
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ARG_OUTPUT_DIRECTORY})
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 600)
  endif()
  set(filter)
  if(ARG_GTEST_FILTER)
    set(filter --gtest_filter=${ARG_GTEST_FILTER})
  endif()
  add_test(NAME ${target} COMMAND ${target} --gtest_brief=1 ${filter})
  set_tests_properties(${target} PROPERTIES LABELS "win;${ARG_LABELS}" TIMEOUT ${ARG_TIMEOUT})
endfunction()
