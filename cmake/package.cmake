# The Debian package, made from the release build with `cpack -G DEB` (scripts/package):
# talik_7.01-1_amd64.deb, installing under /usr.
set(CPACK_PACKAGE_NAME talik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "talik")
set(CPACK_PACKAGE_CONTACT "talik developers <talik@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Japanese personal address book with postcard printing and a modem dialler")
set(CPACK_PACKAGE_DESCRIPTION
    "talik32 files people by the kana reading of their names, finds them, prints them on New Year\n\
postcards (vertical or horizontal writing), on label sheets and as an address list, exports and\n\
imports CSV, backs its databases up, and calls people through a modem with its dialler Talikad2.\n\
talikcli runs the same core from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from the programs themselves (dpkg-shlibdeps); the fonts and Qt's Japanese
# texts are read at run time, so no linker sees them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, fonts-ipafont-mincho, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
