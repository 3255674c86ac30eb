# `cpack -G DEB` in the build folder: satorix_<version>_amd64.deb with what `cmake --install` puts
# in place, stripped, its library dependencies found by dpkg-shlibdeps.
# A Debian package carries its copyright and a compressed changelog in its doc folder.
set(_changelog ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${_changelog}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
  COMMAND ${GZIP_PROGRAM} -9n -c ${PROJECT_SOURCE_DIR}/packaging/changelog > ${_changelog}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog VERBATIM)
add_custom_target(package_changelog ALL DEPENDS ${_changelog})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${_changelog} DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME satorix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Satorix developers")
set(CPACK_PACKAGE_CONTACT "Satorix developers <satorix@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "channel database editor for digital satellite receivers")
# CPack puts the summary first and indents these lines.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Download the channel database from the receiver over an RS-232 cable, or
open a *.si file, edit satellites, transponders, providers, TV and radio
programs and the favourite lists, save it and upload it back. Includes
satorix-cli for database files and transfers from a terminal, and the
receiver simulator stbsim.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils")
include(CPack)
