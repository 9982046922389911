# Helpers shared by every area. One source tree is configured twice: natively (portable core,
# unit tests under ASan+UBSan, fuzz targets) and for i686 Windows (programs, DLLs, tests that
# CTest runs under Wine through the cross-compiling emulator).

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(SUITE_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/..)
get_filename_component(SUITE_SOURCE_DIR ${SUITE_SOURCE_DIR} ABSOLUTE)
set(SUITE_GTEST_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")

if(WIN32)
  enable_language(RC)
  set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${SUITE_SOURCE_DIR}")
  add_compile_definitions(_WIN32_WINNT=0x0600 WINVER=0x0600 _CRT_SECURE_NO_WARNINGS)
  # For size: a tenth to a quarter off every shipped file against -O2, at no speed that
  # make bench can tell (the controls' time goes to zlib, built apart, and the disk).
  set(SUITE_WIN_OPT -Os CACHE STRING "Optimisation of the Windows build")
  add_compile_options(-Wall -Wno-unknown-pragmas ${SUITE_WIN_OPT})
  # One section per function and datum, so shipped links drop what nothing calls.
  add_compile_options(-ffunction-sections -fdata-sections)
  # std::string members instantiated where used (see the file).
  add_compile_options("SHELL:$<$<COMPILE_LANGUAGE:CXX>:-include ${SUITE_SOURCE_DIR}/common/runtime/inline_strings.h>")
  # Same bytes from any checkout folder: no source or build paths in the objects.
  add_compile_options(-ffile-prefix-map=${SUITE_SOURCE_DIR}/= -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
  # Executables run on Windows as they are: no DLLs of the compiler.
  add_link_options(-static -static-libgcc -static-libstdc++)

  # widl writes the hour into every type library; under this fixed clock two builds agree.
  find_program(SUITE_FAKETIME faketime REQUIRED)
  set(SUITE_FIXED_CLOCK ${SUITE_FAKETIME} -f "2000-01-01 00:00:00")

  get_filename_component(SUITE_BUILD_ROOT ${CMAKE_BINARY_DIR}/.. ABSOLUTE)
  set(SUITE_WINEPREFIX ${SUITE_BUILD_ROOT}/wineprefix)
  configure_file(${SUITE_SOURCE_DIR}/scripts/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                  WORLD_READ WORLD_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
else()
  add_compile_options(-Wall -g -O1 -fno-omit-frame-pointer
                      -fsanitize=address,undefined -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    set(SUITE_HAVE_LIBFUZZER ON)
    add_compile_options(-fsanitize=fuzzer-no-link)
  endif()
endif()

set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${SUITE_GTEST_DIR} ${CMAKE_BINARY_DIR}/_googletest EXCLUDE_FROM_ALL)

define_property(GLOBAL PROPERTY SUITE_DIST_TARGETS BRIEF_DOCS "shipped" FULL_DOCS "shipped")
define_property(GLOBAL PROPERTY SUITE_FUZZ_LINES BRIEF_DOCS "fuzz targets" FULL_DOCS "fuzz targets")

function(_suite_common_target name)
  target_include_directories(${name} PUBLIC ${SUITE_SOURCE_DIR})
endfunction()

# Portable static library, built in both configurations (no <windows.h>).
function(suite_core_library name)
  cmake_parse_arguments(A "" "" "LIBS" ${ARGN})
  add_library(${name} STATIC ${A_UNPARSED_ARGUMENTS})
  _suite_common_target(${name})
  if(A_LIBS)
    target_link_libraries(${name} PUBLIC ${A_LIBS})
  endif()
endfunction()

function(suite_win_library name)
  if(WIN32)
    suite_core_library(${name} ${ARGN})
  endif()
endfunction()

# Globs the current folder and the sub-folders named by SUBDIRS: *_win.cpp form <area>_win
# (Windows only), *_main.cpp are program entries and left out, every other *.cpp forms
# <area>_core (portable, both builds).
function(suite_area_libraries area)
  cmake_parse_arguments(A "" "" "LIBS;WIN_LIBS;SUBDIRS" ${ARGN})
  set(patterns ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(sub IN LISTS A_SUBDIRS)
    list(APPEND patterns ${CMAKE_CURRENT_SOURCE_DIR}/${sub}/*.cpp)
  endforeach()
  file(GLOB all CONFIGURE_DEPENDS ${patterns})
  set(core "")
  set(shell "")
  foreach(f IN LISTS all)
    if(f MATCHES "_main\\.cpp$")
      continue()
    elseif(f MATCHES "_win\\.cpp$")
      list(APPEND shell ${f})
    else()
      list(APPEND core ${f})
    endif()
  endforeach()
  if(core)
    add_library(${area}_core STATIC ${core})
    target_include_directories(${area}_core PUBLIC ${SUITE_SOURCE_DIR})
    if(A_LIBS)
      target_link_libraries(${area}_core PUBLIC ${A_LIBS})
    endif()
  else()
    add_library(${area}_core INTERFACE)
    target_include_directories(${area}_core INTERFACE ${SUITE_SOURCE_DIR})
    if(A_LIBS)
      target_link_libraries(${area}_core INTERFACE ${A_LIBS})
    endif()
  endif()
  if(WIN32)
    if(shell)
      add_library(${area}_win STATIC ${shell})
      target_link_libraries(${area}_win PUBLIC ${area}_core ${A_WIN_LIBS})
    else()
      add_library(${area}_win INTERFACE)
      target_link_libraries(${area}_win INTERFACE ${area}_core ${A_WIN_LIBS})
    endif()
  endif()
endfunction()

# Linked into every program and control: runs on Windows XP, no name demangler, no standard
# exception classes with their strings (see the files).
set(SUITE_RUNTIME_SOURCES ${SUITE_SOURCE_DIR}/common/runtime/xp_tick_count_win.cpp
                          ${SUITE_SOURCE_DIR}/common/runtime/plain_terminate_win.cpp
                          ${SUITE_SOURCE_DIR}/common/runtime/plain_throws_win.cpp
                          ${SUITE_SOURCE_DIR}/common/runtime/plain_system_error_win.cpp)

# Shipped files carry no symbols or debug sections, none of the unused code and no link time
# stamp (two builds of one commit give the same bytes).
function(_suite_shipped_link name)
  target_link_options(${name} PRIVATE -s -Wl,--gc-sections -Wl,--no-insert-timestamp)
endfunction()

# The two product lines a shipped file belongs to: makers and product names of the version
# resource. The version itself is the project's (the top CMakeLists.txt).
set(SUITE_COPYRIGHT_YEAR 2026)
set(SUITE_TAVRIN_COMPANY "Tavrin Software")
set(SUITE_TAVRIN_PRODUCT "Tavrin Installer")
set(SUITE_VARNEX_COMPANY "Varnex Software")
set(SUITE_VARNEX_PRODUCT "Varnex-AX Toolkit")

# Version resource (and, for programs, the manifest) of a shipped file, generated from
# cmake/identity. PRODUCT is TAVRIN or VARNEX; ELEVATED asks for administrator rights
# (the program writes under Program Files and HKEY_LOCAL_MACHINE), otherwise asInvoker.
function(_suite_identity name file_name kind)
  cmake_parse_arguments(A "ELEVATED" "DESCRIPTION;PRODUCT" "" ${ARGN})
  if(NOT A_DESCRIPTION OR NOT A_PRODUCT)
    message(FATAL_ERROR "${name}: a shipped file needs DESCRIPTION and PRODUCT")
  endif()
  set(ID_FILE_NAME ${file_name})
  set(ID_INTERNAL_NAME ${name})
  set(ID_DESCRIPTION "${A_DESCRIPTION}")
  set(ID_COMPANY "${SUITE_${A_PRODUCT}_COMPANY}")
  set(ID_PRODUCT "${SUITE_${A_PRODUCT}_PRODUCT}")
  set(ID_EXTRA_VALUES "")
  set(ID_MANIFEST_LINE "")
  set(out ${CMAKE_CURRENT_BINARY_DIR}/identity)
  if(kind STREQUAL "DLL")
    set(ID_FILE_TYPE VFT_DLL)
    # The controls register themselves (DllRegisterServer).
    set(ID_EXTRA_VALUES "            VALUE \"OLESelfRegister\", \"\"")
  else()
    set(ID_FILE_TYPE VFT_APP)
    set(ID_ASSEMBLY_NAME "${A_PRODUCT}.${name}")
    string(REPLACE "TAVRIN" "Tavrin" ID_ASSEMBLY_NAME "${ID_ASSEMBLY_NAME}")
    string(REPLACE "VARNEX" "Varnex" ID_ASSEMBLY_NAME "${ID_ASSEMBLY_NAME}")
    if(A_ELEVATED)
      set(ID_EXECUTION_LEVEL requireAdministrator)
    else()
      set(ID_EXECUTION_LEVEL asInvoker)
    endif()
    configure_file(${SUITE_SOURCE_DIR}/cmake/identity/program.manifest.in ${out}/${name}.manifest @ONLY)
    # 24 is RT_MANIFEST; 1 the manifest the loader reads for a process.
    set(ID_MANIFEST_LINE "1 24 \"${out}/${name}.manifest\"")
    set_source_files_properties(${out}/${name}_identity.rc PROPERTIES OBJECT_DEPENDS ${out}/${name}.manifest)
  endif()
  configure_file(${SUITE_SOURCE_DIR}/cmake/identity/version_info.rc.in ${out}/${name}_identity.rc @ONLY)
  target_sources(${name} PRIVATE ${out}/${name}_identity.rc)
endfunction()

# Windows GUI program (or console program with CONSOLE), shipped in dist/ (with the
# identity arguments of _suite_identity).
function(suite_program name)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(A "CONSOLE;NODIST;ELEVATED" "DESCRIPTION;PRODUCT" "LIBS" ${ARGN})
  if(A_CONSOLE)
    add_executable(${name} ${A_UNPARSED_ARGUMENTS})
  else()
    add_executable(${name} WIN32 ${A_UNPARSED_ARGUMENTS})
  endif()
  target_sources(${name} PRIVATE ${SUITE_RUNTIME_SOURCES})
  _suite_common_target(${name})
  if(A_LIBS)
    target_link_libraries(${name} PRIVATE ${A_LIBS})
  endif()
  if(NOT A_NODIST)
    set_property(GLOBAL APPEND PROPERTY SUITE_DIST_TARGETS ${name})
    _suite_shipped_link(${name})
    set(level "")
    if(A_ELEVATED)
      set(level ELEVATED)
    endif()
    _suite_identity(${name} ${name}.exe EXE DESCRIPTION "${A_DESCRIPTION}" PRODUCT "${A_PRODUCT}" ${level})
  endif()
endfunction()

# In-process server or other DLL; a .def file among the sources gives the exports. DIST
# ships it (with the identity arguments of _suite_identity; the name is upper case).
function(suite_dll name)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(A "DIST" "DESCRIPTION;PRODUCT" "LIBS" ${ARGN})
  add_library(${name} SHARED ${A_UNPARSED_ARGUMENTS} ${SUITE_RUNTIME_SOURCES})
  set_target_properties(${name} PROPERTIES PREFIX "")
  _suite_common_target(${name})
  if(A_LIBS)
    target_link_libraries(${name} PRIVATE ${A_LIBS})
  endif()
  if(A_DIST)
    set_property(GLOBAL APPEND PROPERTY SUITE_DIST_TARGETS ${name})
    _suite_shipped_link(${name})
    _suite_identity(${name} ${name}.DLL DLL DESCRIPTION "${A_DESCRIPTION}" PRODUCT "${A_PRODUCT}")
  endif()
endfunction()

function(suite_native_test name)
  if(WIN32)
    return()
  endif()
  cmake_parse_arguments(A "" "" "LIBS" ${ARGN})
  add_executable(${name} ${A_UNPARSED_ARGUMENTS})
  _suite_common_target(${name})
  target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gmock GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS native TIMEOUT 120)
endfunction()

# GoogleTest program run under Wine; LABEL win (integration) or e2e (drives a real program).
function(suite_win_test name)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(A "DESKTOP" "LABEL;TIMEOUT" "LIBS" ${ARGN})
  if(NOT A_LABEL)
    set(A_LABEL win)
  endif()
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 300)
  endif()
  add_executable(${name} ${A_UNPARSED_ARGUMENTS})
  _suite_common_target(${name})
  target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gmock GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS ${A_LABEL} TIMEOUT ${A_TIMEOUT})
  # GUI tests own the display's focus and foreground while they run; so does any test
  # that shows a window (DESKTOP), as it may cover what another test reads off the screen.
  if(A_LABEL STREQUAL "e2e" OR A_DESKTOP)
    set_property(TEST ${name} APPEND PROPERTY RESOURCE_LOCK desktop)
  endif()
endfunction()

# libFuzzer target; CTest runs it briefly over its seed corpus.
function(suite_fuzz_target name)
  if(WIN32 OR NOT SUITE_HAVE_LIBFUZZER)
    return()
  endif()
  cmake_parse_arguments(A "" "CORPUS;SECONDS" "LIBS" ${ARGN})
  if(NOT A_SECONDS)
    set(A_SECONDS 8)
  endif()
  add_executable(${name} ${A_UNPARSED_ARGUMENTS})
  _suite_common_target(${name})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  if(A_LIBS)
    target_link_libraries(${name} PRIVATE ${A_LIBS})
  endif()
  set(work ${CMAKE_BINARY_DIR}/fuzz-corpus/${name})
  set(dirs ${work})
  if(A_CORPUS)
    get_filename_component(seed ${A_CORPUS} ABSOLUTE)
    list(APPEND dirs ${seed})
  endif()
  add_test(NAME ${name}
           COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
                   $<TARGET_FILE:${name}> -max_total_time=${A_SECONDS} -rss_limit_mb=2048
                   -timeout=10 ${dirs})
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 120)
  file(MAKE_DIRECTORY ${work})
  # `make fuzz` runs the same program longer over the same folders (scripts/fuzz.sh):
  # one line each, name, program and corpus folders separated by tabs.
  list(JOIN dirs "\t" dir_fields)
  set_property(GLOBAL APPEND_STRING PROPERTY SUITE_FUZZ_LINES
               "${name}\t$<TARGET_FILE:${name}>\t${dir_fields}\n")
endfunction()

# Benchmarks are built, never run by CTest; bench/<area>/run.sh runs them.
function(suite_benchmark name)
  cmake_parse_arguments(A "NATIVE" "" "LIBS" ${ARGN})
  if(A_NATIVE AND WIN32)
    return()
  endif()
  if(NOT A_NATIVE AND NOT WIN32)
    return()
  endif()
  add_executable(${name} ${A_UNPARSED_ARGUMENTS})
  _suite_common_target(${name})
  if(A_LIBS)
    target_link_libraries(${name} PRIVATE ${A_LIBS})
  endif()
endfunction()
