# The Debian package: `cmake --build <build> --target package` makes
# torvanik_<version>_amd64.deb, its library dependencies found by dpkg-shlibdeps.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/torvanik RENAME copyright)
install(FILES ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/torvanik)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME torvanik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Torvanik developers")
set(CPACK_PACKAGE_CONTACT "The Torvanik developers <torvanik@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "split a large file over several disks and join it back")
set(CPACK_PACKAGE_DESCRIPTION
    "Torvanik moves one file that is too large for a single disk onto several removable\n\
disks, one piece per disk, each as large as that disk's free space, and joins the\n\
pieces back into the original file with its times. It comes as a window program\n\
with a Norwegian interface (torvanik) and as a terminal program (torvanik-cli).")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://torvanik.github.io/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the programs load at run time without linking it: the faces the screen asks for
# by name, and the toolkit's platform plugins for the window.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fontconfig, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, udisks2, mtools")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
