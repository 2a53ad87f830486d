# Installation and the Debian package.
#
# cmake --install puts the executables in <prefix>/bin and the data in
# <prefix>/share/k40 (see data/CMakeLists.txt); an installed K40 finds its
# data there and keeps its settings in the user's configuration folder.
# cpack makes k40_<version>_<arch>.deb: the libraries it links are found by
# dpkg-shlibdeps (package dpkg-dev), the fonts, the sound font and the
# speech engine it needs at run time are declared below.
include(GNUInstallDirs)
install(TARGETS K40 hy3 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME k40)
set(CPACK_PACKAGE_VENDOR "K40 developers")
set(CPACK_PACKAGE_CONTACT "K40 developers <k40@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "fare indicator board simulator of a Japanese route bus")
set(CPACK_PACKAGE_DESCRIPTION
    "K40 simulates the fare indicator board of a Japanese route bus (運賃表示器) with the
driver's console that operates it: segment-digit fare cells under their boarding-ticket
numbers, the dot-matrix stop-name strip, chimes, announcements spoken by Open JTalk and a
boarding-ticket preview. The hy3 tool makes route data from CSV files and GTFS-JP feeds.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, qt6-translations-l10n, fonts-ipafont-gothic, fonts-ipafont-mincho, fonts-dseg, xfonts-ayu, xfonts-shinonome, timgm6mb-soundfont | fluid-soundfont-gm, open-jtalk, open-jtalk-mecab-naist-jdic")
set(CPACK_STRIP_FILES ON)
include(CPack)
