# The Debian packages: `cmake --build <build> --target package` makes, from one build,
# torvanik_<version>_amd64.deb (the window program, component window) and
# torvanik-cli_<version>_amd64.deb (the terminal program, component cli), each with the
# library dependencies dpkg-shlibdeps finds in its own files.

# The version is the project's and the revision of the newest entry in doc/changelog.Debian.
file(STRINGS ${PROJECT_SOURCE_DIR}/doc/changelog.Debian newest_entry LIMIT_COUNT 1)
if(NOT newest_entry MATCHES "^torvanik \\(${PROJECT_VERSION}-([0-9]+)\\) ")
    message(FATAL_ERROR "doc/changelog.Debian does not begin with version ${PROJECT_VERSION}: "
                        "${newest_entry}")
endif()
set(CPACK_DEBIAN_PACKAGE_RELEASE ${CMAKE_MATCH_1})

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL window cli)
set(CPACK_PACKAGE_NAME torvanik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Torvanik developers")
set(CPACK_PACKAGE_CONTACT "The Torvanik developers <torvanik@users.noreply.github.com>")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE torvanik)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://torvanik.github.io/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# What both packages say of the program, under the line that names each.
set(torvanik_about
    "Torvanik moves one file that is too large for a single disk onto several
removable disks, one piece per disk, each as large as that disk's free space,
and joins the pieces back into the whole file with its times. Every piece
is read back and compared before the next disk is asked for.")

set(CPACK_DEBIAN_WINDOW_PACKAGE_NAME torvanik)
set(CPACK_DEBIAN_WINDOW_DESCRIPTION
    "split a large file over several disks and join it back (window)
${torvanik_about}

This package holds the window program, with a Norwegian interface.")
# What the window loads at run time without linking it: the faces the screen asks for by
# name, and the toolkit's platform plugins.
set(CPACK_DEBIAN_WINDOW_PACKAGE_DEPENDS "fonts-liberation, fontconfig, qt6-qpa-plugins")
set(CPACK_DEBIAN_WINDOW_PACKAGE_RECOMMENDS
    "torvanik-cli, qt6-wayland, qt6-translations-l10n, udisks2, mtools")

set(CPACK_DEBIAN_CLI_PACKAGE_NAME torvanik-cli)
set(CPACK_DEBIAN_CLI_DESCRIPTION
    "split a large file over several disks and join it back (terminal)
${torvanik_about}

This package holds torvanik-cli, the same split and join from a terminal, for
use over SSH and in scripts.")
# udisks2 lets a disk go after its step, mtools reads and writes floppy images.
set(CPACK_DEBIAN_CLI_PACKAGE_RECOMMENDS "udisks2, mtools")

# Stripped as Debian's own packages are, without the compiler's .comment section.
set(stripped_programs torvanik torvanik-cli)
foreach(program component IN ZIP_LISTS stripped_programs CPACK_COMPONENTS_ALL)
    install(CODE "if(CMAKE_INSTALL_DO_STRIP)
            execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\"
                COMMAND_ERROR_IS_FATAL ANY)
        endif()"
        COMPONENT ${component})
endforeach()

include(CPack)
