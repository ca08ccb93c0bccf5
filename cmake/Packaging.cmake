# Installation and release packages. The native build installs the authors' tool with its man
# page and documents, and packs them as a Debian package; the Windows build installs both
# programs with the documents at the top of one folder, and packs it as a zip file.
set(SCENARIO_MAN_PAGE AUTO CACHE STRING
  "Generate the tool's man page with help2man: ON, OFF, or AUTO (when help2man is installed)")
set(CPACK_PACKAGE_NAME scenario)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Scenario builder developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "Builds, checks and shows scenarios of a train-driving simulator from their source files")
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  install(TARGETS Alderi_Moncasta_30752 scenario RUNTIME DESTINATION .)
  install(FILES README.md DESTINATION .)
  install(DIRECTORY docs/ DESTINATION docs)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME scenario-${PROJECT_VERSION}-windows-x64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
  include(CPack)
  return()
endif()

include(GNUInstallDirs)
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/scenario)
install(TARGETS scenario RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES README.md DESTINATION ${doc_dir})
install(DIRECTORY docs/ DESTINATION ${doc_dir})

# The man page is made from the built tool's own help, so that it never disagrees with it.
find_program(HELP2MAN help2man)
if(SCENARIO_MAN_PAGE AND NOT (SCENARIO_MAN_PAGE STREQUAL "AUTO" AND NOT HELP2MAN))
  if(NOT HELP2MAN)
    message(FATAL_ERROR "help2man not found: run scripts/setup dist")
  endif()
  set(man_page ${CMAKE_BINARY_DIR}/scenario.1.gz)
  add_custom_command(OUTPUT ${man_page}
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/man-page $<TARGET_FILE:scenario> ${man_page}
    DEPENDS scenario ${PROJECT_SOURCE_DIR}/scripts/man-page
    COMMENT "Writing the man page of scenario")
  add_custom_target(man_page ALL DEPENDS ${man_page})
  install(FILES ${man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
elseif(SCENARIO_MAN_PAGE STREQUAL "AUTO")
  message(STATUS "help2man not found: no man page (make dist installs it)")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Scenario builder developers")
# The shared libraries the tool links are found by dpkg-shlibdeps and declared as dependencies.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "The scenario tool compiles a line and a train source file into the simulator's binary files,\n\
checks them with every warning and error, decodes the binary files and draws the route.")
include(CPack)
