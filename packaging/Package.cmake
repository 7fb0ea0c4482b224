# The Debian package: `cpack -G DEB` in the build folder (or `cpack --config
# build/CPackConfig.cmake -G DEB`) gives skirrow_<version>_<arch>.deb, installing under /usr with
# the layout of Install.cmake. Its dependencies are the shared libraries the programs link
# (found by dpkg-shlibdeps) and the two packages the game needs at run time without linking
# them: Mesa's drivers behind EGL, and the Liberation fonts that stand in for "Arial".

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME skirrow)
set(CPACK_PACKAGE_VENDOR "Skirrow")
set(CPACK_PACKAGE_CONTACT "Skirrow developers <skirrow@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "3D helicopter combat game for portrait screens")
set(CPACK_PACKAGE_DESCRIPTION
  "One player and a teammate fly combat helicopters against two computer pilots through the rooms of a house. Made for portrait handhelds, it runs in a window on the desktop, with OpenGL ES or its own software renderer.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1-mesa-dri, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/skirrow")
include(CPack)
