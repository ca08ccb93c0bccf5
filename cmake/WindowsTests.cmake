# The Windows build's tests, run under Wine: the core's unit tests (those that start no process
# and read no PNG picture) built against GoogleTest's sources, and the byte comparison of the
# Windows programs' files with the native build's.
set(SCENARIO_GOOGLETEST_SOURCES /usr/src/googletest CACHE PATH "GoogleTest's source tree")
set(SCENARIO_NATIVE_BUILD ${PROJECT_SOURCE_DIR}/build-test CACHE PATH
  "The native build whose files the Windows build's must equal")
if(SCENARIO_TESTS STREQUAL "AUTO" AND NOT EXISTS ${SCENARIO_GOOGLETEST_SOURCES}/CMakeLists.txt)
  message(STATUS "GoogleTest's sources not found: the Windows tests are not built")
  return()
elseif(NOT SCENARIO_TESTS)
  return()
endif()

# GoogleTest is built with its own flags: the project's -Werror is not its business.
get_directory_property(project_options COMPILE_OPTIONS)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "")
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${SCENARIO_GOOGLETEST_SOURCES} googletest EXCLUDE_FROM_ALL)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "${project_options}")

file(GLOB_RECURSE TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/*_test.cpp)
# These start the programs as processes, read PNG pictures, make POSIX faults (file size limits,
# a full tmpfs, killed and concurrent runs) or compile the benchmarks' generated routes: the native
# suite has them, and the comparison below runs the Windows programs themselves.
list(FILTER TEST_SOURCES EXCLUDE REGEX
  "/tests/tool/|/scenario_program_test\\.cpp$|/tests/output/(concurrent_compiles|file_limits|kept_line_model|killed_runs|write_faults)_test\\.cpp$")
add_executable(unit_tests ${TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE scenario_core gtest gtest_main)
target_include_directories(unit_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_compile_definitions(unit_tests PRIVATE SCENARIO_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
target_link_options(unit_tests PRIVATE -static)

set(wine_run ${PROJECT_SOURCE_DIR}/scripts/wine-run)
set(wine_environment WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix)
add_test(NAME windows_wine_prefix COMMAND ${wine_run} wineboot --init)
add_test(NAME windows_unit_tests COMMAND ${wine_run} $<TARGET_FILE:unit_tests> --gtest_brief=1)
add_test(NAME windows_same_files_as_native
  COMMAND ${PROJECT_SOURCE_DIR}/tests/windows/compare_with_native ${SCENARIO_NATIVE_BUILD}
    $<TARGET_FILE_DIR:scenario>)
# The language server under Windows reads the partner of an open file from disk: the editor's
# file:///Z:/... URI must become a path that Windows opens.
add_test(NAME windows_lsp_partner_file
  COMMAND ${PROJECT_SOURCE_DIR}/tests/windows/lsp_partner_file ${SCENARIO_NATIVE_BUILD}/scenario
    windows ${wine_run} $<TARGET_FILE:scenario> lsp)
# The live page's server under Wine: the page over the loopback, and one update after an edit.
add_test(NAME windows_serve_update
  COMMAND ${PROJECT_SOURCE_DIR}/tests/windows/serve_update ${SCENARIO_NATIVE_BUILD}/scenario
    ${wine_run} $<TARGET_FILE:scenario>)
set_tests_properties(windows_wine_prefix PROPERTIES FIXTURES_SETUP wine_prefix
  ENVIRONMENT "${wine_environment}")
set_tests_properties(windows_unit_tests windows_same_files_as_native windows_lsp_partner_file
  windows_serve_update PROPERTIES
  FIXTURES_REQUIRED wine_prefix ENVIRONMENT "${wine_environment}")
