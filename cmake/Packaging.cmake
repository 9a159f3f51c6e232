# `cpack -G DEB` in a build folder makes a Debian package of what `cmake --install`
# puts under /usr. Its dependencies are computed from the libraries the program
# links (dpkg-shlibdeps), so they follow the Qt of the build machine.
set(CPACK_PACKAGE_NAME "dualvex")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Dualvex")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "compare two files byte by byte, raw or in Intel HEX format")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Dualvex loads two files, raw or decoded from Intel HEX, marks every differing byte and shows\n"
  "both in two synchronised hex panes with an overview strip, with the hex tools of firmware work.")
set(CPACK_PACKAGE_CONTACT "Dualvex <dualvex@localhost>")
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "devel")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
