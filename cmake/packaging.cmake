# `cpack -G DEB` in the build folder makes a Debian package of what
# `cmake --install` puts in place, under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillaby)
set(CPACK_PACKAGE_VENDOR "Oxbelle Software")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quillaby developers <quillaby@oxbelle-software.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "weaving-draft editor and dobby loom driver")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "weaving-draft editor and dobby loom driver\n\
Quillaby designs weaving drafts for shaft looms: threading, tieup,\n\
treadling or liftplan, and the drawdown computed from them, in color\n\
or as simulated cloth. It reads and writes WIF files, plans yarn,\n\
turns pictures into drafts and weaves a draft pick by pick on a\n\
computer-controlled dobby loom over a serial port. The package also\n\
holds quillaby-cli, the same core on the command line, and a loom\n\
emulator for trying a weaving run without a loom.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://oxbelle-software.example/quillaby")
# The runtime libraries by their Debian 12 package names. libqt6svg6 also
# carries the plugins that draw the SVG tool bar and window icons; the X11
# platform plugin comes with libqt6gui6.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libc6, libstdc++6, libgcc-s1, libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), \
libqt6printsupport6 (>= 6.4), libqt6network6 (>= 6.4), libqt6serialport6 (>= 6.4), libqt6svg6 (>= 6.4), \
libjpeg62-turbo, libtiff6, libpng16-16, zlib1g")
# The menu, MIME and icon caches are refreshed by the triggers of
# desktop-file-utils, shared-mime-info and the icon theme.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme")
include(CPack)
