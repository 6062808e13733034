# Install layout and the Debian package.
include(GNUInstallDirs)

# One version for every program, from project().
target_compile_definitions(corvane_core INTERFACE CORVANE_VERSION="${PROJECT_VERSION}")

set(CORVANE_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)

foreach(program corvane corvane-cli corvane-radio-sim)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

if(TARGET corvane)
  install(FILES ${CORVANE_PACKAGING_DIR}/corvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CORVANE_PACKAGING_DIR}/icons/corvane.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

# Relative to the prefix on purpose: /usr/lib/udev/rules.d for the package.
install(FILES ${CORVANE_PACKAGING_DIR}/70-corvane-cable-access.rules ${CORVANE_PACKAGING_DIR}/99-corvane-serial.rules
        DESTINATION lib/udev/rules.d)

# The man page is the CLI's own --help, so it cannot drift from the program.
if(TARGET corvane-cli)
  set(CORVANE_CLI_MANPAGE ${CMAKE_BINARY_DIR}/man/corvane-cli.1)
  add_custom_command(
    OUTPUT ${CORVANE_CLI_MANPAGE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    # A sanitizer build must not fail here on leaks the help run cannot cause.
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
            ${CMAKE_COMMAND} -DCLI=$<TARGET_FILE:corvane-cli> -DOUT=${CORVANE_CLI_MANPAGE}
            "-DSUMMARY=program a UHF hand-held radio from the command line"
            -P ${CORVANE_PACKAGING_DIR}/cli-manpage.cmake
    DEPENDS corvane-cli ${CORVANE_PACKAGING_DIR}/cli-manpage.cmake
    COMMENT "Generating the corvane-cli man page"
    VERBATIM)
  # Debian ships man pages compressed; -n keeps the archive free of the build time.
  find_program(CORVANE_GZIP gzip)
  set(CORVANE_CLI_MANPAGE_INSTALLED ${CORVANE_CLI_MANPAGE})
  if(CORVANE_GZIP)
    set(CORVANE_CLI_MANPAGE_INSTALLED ${CORVANE_CLI_MANPAGE}.gz)
    add_custom_command(
      OUTPUT ${CORVANE_CLI_MANPAGE_INSTALLED}
      COMMAND ${CORVANE_GZIP} -9nkf ${CORVANE_CLI_MANPAGE}
      DEPENDS ${CORVANE_CLI_MANPAGE}
      VERBATIM)
  endif()
  add_custom_target(corvane-cli-manpage ALL DEPENDS ${CORVANE_CLI_MANPAGE_INSTALLED})
  install(FILES ${CORVANE_CLI_MANPAGE_INSTALLED} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# A cheap check of the install tree; the .deb itself is built and checked
# by scripts/build-deb.sh and scripts/check-deb.sh.
if(CORVANE_BUILD_TESTS)
  add_test(NAME package_install
           COMMAND sh ${CMAKE_SOURCE_DIR}/tests/package/install_test.sh ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR})
  set_tests_properties(package_install PROPERTIES LABELS package TIMEOUT 120)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Corvane developers")
set(CPACK_PACKAGE_CONTACT "Corvane developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Corvane PC Programmer: channel and settings editor for a UHF hand-held radio")
set(CPACK_PACKAGE_DESCRIPTION
    "Edits the 255 channels, the groups and the radio-wide settings of a UHF hand-held radio and writes them into the radio over a serial programming cable, or reads them back. Includes the desktop program corvane, the command-line tool corvane-cli and the radio simulator corvane-radio-sim.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_NAME corvane)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Corvane developers")
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Dependencies come from what the programs really link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARGET corvane)
  # Loaded as plugins (SVG icons and images), so invisible to dpkg-shlibdeps.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${CORVANE_PACKAGING_DIR}/postinst ${CORVANE_PACKAGING_DIR}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_STRIP_FILES TRUE)
include(CPack)
