# The Debian package of the tool set, made by CPack from the platform's layout:
#   cpack -G DEB        (in the build folder)   ->   tarvex_<version>_amd64.deb
# Its dependencies are the shared libraries' packages (dpkg-shlibdeps). It has no maintainer
# scripts: the desktop entries', file types' and icons' caches are refreshed by the triggers
# that desktop-file-utils, shared-mime-info and the icon theme declare on their folders.

set(TARVEX_MAINTAINER_MAIL "developers@tarvex.org" CACHE STRING "The package maintainer's e-mail address")
# The changelog's date is the release date, so that the package is the same whenever it is made.
set(TARVEX_CHANGELOG_DATE "Mon, 07 Dec 2026 12:00:00 +0000")

# The package's documents: the copyright file and the changelog, compressed as the platform
# wants it.
set(tarvex_docdir ${CMAKE_INSTALL_DATADIR}/doc/tarvex)
configure_file(${CMAKE_SOURCE_DIR}/platform/linux/changelog.in ${CMAKE_BINARY_DIR}/platform/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/platform/changelog.gz
  COMMAND gzip -9n -c ${CMAKE_BINARY_DIR}/platform/changelog > ${CMAKE_BINARY_DIR}/platform/changelog.gz
  DEPENDS ${CMAKE_BINARY_DIR}/platform/changelog VERBATIM)
add_custom_target(tarvex_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/platform/changelog.gz)
install(FILES ${CMAKE_SOURCE_DIR}/platform/linux/copyright ${CMAKE_BINARY_DIR}/platform/changelog.gz
        DESTINATION ${tarvex_docdir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tarvex developers")
set(CPACK_PACKAGE_CONTACT "The Tarvex developers <${TARVEX_MAINTAINER_MAIL}>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editors for Jedi Knight add-on files")
# The synopsis is the summary above; this is the long description under it.
set(CPACK_PACKAGE_DESCRIPTION "Tarvex is a tool set for people who make add-ons for the game Jedi Knight and
its expansion Mysteries of the Sith: Scrivane edits COG scripts and templates,
Lirrel the message table jkstrings.uni, and Orvane the multiplayer model table
models.dat; tarvex-setup copies the tool set into a folder of its own.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TARVEX_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "desktop-file-utils, shared-mime-info, hicolor-icon-theme, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# The package holds the tool set alone, whatever else the build makes.
set(CPACK_SOURCE_IGNORE_FILES "/build/;/\\\\.git/")
include(CPack)
