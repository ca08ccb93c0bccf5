# The native test suite: every test under tests/, against the installed GoogleTest and libpng.
if(SCENARIO_TESTS STREQUAL "AUTO")
  find_package(GTest QUIET)
  find_package(PNG QUIET)
  if(NOT GTest_FOUND OR NOT PNG_FOUND)
    message(STATUS "GoogleTest or libpng not found: the tests are not built (make test installs them)")
    return()
  endif()
elseif(NOT SCENARIO_TESTS)
  return()
endif()

find_package(GTest REQUIRED)
find_package(PNG REQUIRED)
include(GoogleTest)
file(GLOB_RECURSE TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/*_test.cpp)
add_executable(unit_tests ${TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE scenario_tool scenario_app GTest::gtest
  GTest::gtest_main PNG::PNG)
# The tests of killed and concurrent runs compile long routes made by the benchmarks' generator.
target_sources(unit_tests PRIVATE ${PROJECT_SOURCE_DIR}/bench/generated_sources.cpp)
target_include_directories(unit_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR}/bench)
target_compile_definitions(unit_tests PRIVATE
  SCENARIO_PROGRAM="$<TARGET_FILE:Alderi_Moncasta_30752>"
  SCENARIO_TOOL="$<TARGET_FILE:scenario>"
  SCENARIO_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
add_dependencies(unit_tests Alderi_Moncasta_30752 scenario)
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60)
add_test(NAME layering COMMAND ${PROJECT_SOURCE_DIR}/scripts/check_layers)
add_test(NAME setup.sets COMMAND ${PROJECT_SOURCE_DIR}/tests/scripts/setup_sets_test)
# The route view in headless Chromium, driven through chromedriver.
add_test(NAME route_view_in_browser
  COMMAND /usr/bin/python3 ${PROJECT_SOURCE_DIR}/tests/tool/view/view_browser_test.py
    $<TARGET_FILE:scenario> ${CMAKE_CURRENT_BINARY_DIR})
set_tests_properties(route_view_in_browser PROPERTIES TIMEOUT 300)
# The page's script modules under ESLint; skipped (77) where scripts/setup test has not run.
add_test(NAME page.eslint COMMAND ${PROJECT_SOURCE_DIR}/scripts/lint-page)
set_tests_properties(page.eslint PROPERTIES SKIP_RETURN_CODE 77)
# The live preview: `scenario serve` followed by headless Chromium as the sources are edited.
add_test(NAME route_view_live_in_browser
  COMMAND /usr/bin/python3 ${PROJECT_SOURCE_DIR}/tests/tool/serve/serve_browser_test.py
    $<TARGET_FILE:scenario>)
set_tests_properties(route_view_live_in_browser PROPERTIES TIMEOUT 300)
# The language server's live page: a scripted client changes a buffer unsaved, Chromium follows.
add_test(NAME lsp_preview_in_browser
  COMMAND /usr/bin/python3 ${PROJECT_SOURCE_DIR}/tests/tool/lsp/lsp_preview_browser_test.py
    $<TARGET_FILE:scenario>)
set_tests_properties(lsp_preview_in_browser PROPERTIES TIMEOUT 300)
# The language server driven by a real editor: headless Neovim.
add_test(NAME lsp.neovim
  COMMAND ${PROJECT_SOURCE_DIR}/tests/tool/lsp/lsp_neovim_test.sh $<TARGET_FILE:scenario>)

# The layout of .clang-format and the naming and checks of .clang-tidy, run with the tests.
option(SCENARIO_STYLE_CHECKS "Run the clang-format and clang-tidy checks with the tests" ON)
if(SCENARIO_STYLE_CHECKS)
  add_test(NAME style.format COMMAND ${PROJECT_SOURCE_DIR}/scripts/check-format)
  add_test(NAME style.tidy COMMAND ${PROJECT_SOURCE_DIR}/scripts/check-tidy ${CMAKE_BINARY_DIR})
  set_tests_properties(style.tidy PROPERTIES PROCESSORS 2 TIMEOUT 1800)
endif()
