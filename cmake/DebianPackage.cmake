# The Debian package, made by scripts/package.sh with `cpack -G DEB` from a Release build
# configured for /usr. The programs' run-time dependencies are computed from the binaries by
# dpkg-shlibdeps, so the package names the Qt 6 libraries it links and no build-time package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME talveron)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Talveron developers")
set(CPACK_PACKAGE_CONTACT "The Talveron developers <developers@talveron.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "validator for MORVA occupational radiation-exposure load files")
# The long description as Debian shows it: lines within 80 columns once dpkg indents them.
set(CPACK_PACKAGE_DESCRIPTION
  "Talveron checks the fixed-width load files (*.dat) that licensees submit to\n"
  "the MORVA occupational radiation-exposure reporting system before they are\n"
  "sent: every record against the record layouts and value lists of its\n"
  "configuration file and against the dose, date, identity and intake rules.\n"
  "Findings go to a results file and a distribution summary report next to the\n"
  "load file.\n"
  "\n"
  "The package holds the desktop program (talveron) and the command-line\n"
  "validator for batch use and scripts (talveron-cli).")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
# The package installs where the build was configured to (/usr, by scripts/package.sh).
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The first packaging of this upstream version; packaging/changelog.Debian records each revision.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TALVERON_BUILD_DESKTOP)
  # "Open in editor" hands help documents and reports to xdg-open; the menu icon sits in the
  # hicolor theme.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, hicolor-icon-theme")
endif()

include(CPack)
