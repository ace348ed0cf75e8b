# `./build.sh package`: a .deb of what `cmake --install` installs, under /usr. Its dependencies are
# read from the executable (dpkg-shlibdeps) rather than listed by hand, so they follow the libraries
# the build really linked; only what no binary shows is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tintara)
set(CPACK_PACKAGE_VENDOR "The Tintara developers")
set(CPACK_PACKAGE_CONTACT "The Tintara developers <tintara@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "always-on-top colour picker with a screen magnifier")
set(CPACK_PACKAGE_DESCRIPTION "Tintara follows the mouse cursor, shows an enlarged view of the screen
around it and presents the colour under it as hex, decimal, RGB, HSV and CMYK values, with a colour
name, sixteen lockable chips, named palettes and a colour mixer.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://tintara.example.org/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's "Arial" is Liberation Sans; X11 sampling needs an X server, which every desktop brings.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
