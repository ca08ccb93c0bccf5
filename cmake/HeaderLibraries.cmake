# The tool's header-only libraries (CLI11, nlohmann-json, fmt, Boost's Asio and Beast) as targets.
# A native build takes the installed packages; the Windows build takes copies of their headers in
# its own include directory, so that no host include path reaches the cross compiler.
if(NOT CMAKE_CROSSCOMPILING)
  find_package(CLI11 CONFIG REQUIRED)
  find_package(nlohmann_json CONFIG REQUIRED)
  find_package(fmt CONFIG REQUIRED)
  find_package(Boost 1.74 REQUIRED)
  return()
endif()

set(SCENARIO_HEADER_LIBRARIES_FROM /usr/include CACHE PATH
  "Where the installed CLI11, nlohmann, fmt and boost header directories are copied from")
set(header_copies ${CMAKE_BINARY_DIR}/header-libraries/include)
foreach(dir CLI nlohmann fmt boost)
  if(NOT EXISTS ${SCENARIO_HEADER_LIBRARIES_FROM}/${dir})
    message(FATAL_ERROR "${SCENARIO_HEADER_LIBRARIES_FROM}/${dir} is missing: run scripts/setup windows")
  endif()
  file(COPY ${SCENARIO_HEADER_LIBRARIES_FROM}/${dir} DESTINATION ${header_copies})
endforeach()

add_library(header_libraries INTERFACE)
target_include_directories(header_libraries SYSTEM INTERFACE ${header_copies})
add_library(CLI11::CLI11 ALIAS header_libraries)
add_library(nlohmann_json::nlohmann_json ALIAS header_libraries)
add_library(Boost::headers ALIAS header_libraries)
add_library(fmt_header_only INTERFACE)
target_link_libraries(fmt_header_only INTERFACE header_libraries)
target_compile_definitions(fmt_header_only INTERFACE FMT_HEADER_ONLY=1)
add_library(fmt::fmt ALIAS fmt_header_only)
