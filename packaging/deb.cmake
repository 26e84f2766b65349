# "cpack -G DEB" (run in the build folder) makes dayloom_<version>_amd64.deb
# from the install rules, depending on Debian's own Qt, font and CUPS packages.
set(CPACK_PACKAGE_NAME dayloom)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Dayloom")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Design and print calendar pages")
set(CPACK_PACKAGE_CONTACT "Dayloom developers <developers@dayloom.io>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Without the debugging information of a RelWithDebInfo build.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
# The summary is the synopsis line; this is the long description under it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Month grids, mini calendars and planners with notes, pictures, icons and\n page borders; recurring dates; printing and export to PNG, PDF and SVG.")
# The icon libraries are drawn at build time, so the emoji font is not needed here.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6svg6 (>= 6.4), libqt6network6 (>= 6.4), libqt6printsupport6 (>= 6.4), qt6-qpa-plugins, libcups2, fonts-liberation2, libc6, libstdc++6, libgcc-s1")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-image-formats-plugins")
set(CPACK_GENERATOR DEB)
include(CPack)
