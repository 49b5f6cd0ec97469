# What `cmake --install` puts under the prefix, and the Debian package CPack makes of it.
#
#   lib/quibbix/quibbix            the game, with Missile.wav, Bleep.wav and Window.wav beside it
#   bin/quibbix                    a relative link to ../lib/quibbix/quibbix
#   share/applications/            the desktop entry
#   share/metainfo/                the AppStream description
#   share/icons/hicolor/NxN/apps/  the icon at 16, 32, 48, 64, 128 and 256 pixels
#   share/man/man6/quibbix.6       the manual page
#   share/doc/quibbix/copyright    the licence
#
# The game finds its sounds beside the executable it resolves from /proc/self/exe, through the
# link, so the whole tree works from any prefix. The developer tool quibbix-scenario and the tests
# are not installed.

include(GNUInstallDirs)

# The program folder is lib/quibbix literally, not CMAKE_INSTALL_LIBDIR: on Debian that may be the
# multiarch lib/<triplet>, which is meant for shared libraries, while a package's private programs
# and data belong in lib/<package>.
set(QUIBBIX_PROGRAM_DIR lib/quibbix)
set(QUIBBIX_APP_ID io.github.quibbix.Quibbix)

# Builds without the game (the sanitizer and benchmark presets) have nothing to install.
if(NOT TARGET quibbix)
    return()
endif()

install(TARGETS quibbix RUNTIME DESTINATION ${QUIBBIX_PROGRAM_DIR})

# The link is made in the build tree and installed as a link; its target is relative so that the
# installed tree can be moved or unpacked elsewhere.
file(RELATIVE_PATH link_target /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${QUIBBIX_PROGRAM_DIR}/quibbix)
set(link ${CMAKE_CURRENT_BINARY_DIR}/install-link/quibbix)
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/install-link)
file(CREATE_LINK ${link_target} ${link} SYMBOLIC)
install(FILES ${link} DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES assets/sounds/Missile.wav assets/sounds/Bleep.wav assets/sounds/Window.wav
        DESTINATION ${QUIBBIX_PROGRAM_DIR})

install(FILES dist/${QUIBBIX_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES dist/${QUIBBIX_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES dist/quibbix.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
# Debian looks for the licence as the package's copyright file.
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)

# The 32-pixel icon is the one the window itself shows.
foreach(size IN ITEMS 16 32 48 64 128 256)
    if(size EQUAL 32)
        set(icon assets/art/program_icon.png)
    else()
        set(icon assets/icons/quibbix-${size}.png)
    endif()
    install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME quibbix.png)
endforeach()

# The Debian package: `make package` writes build/release/quibbix_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quibbix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Quibbix developers")
set(CPACK_PACKAGE_CONTACT "Quibbix developers <quibbix@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "mouse-pointer arcade game of bouncing balls")
set(CPACK_PACKAGE_DESCRIPTION
    "Balls bounce across a small board, and the mouse pointer is all you play with. Rest the pointer
on the green target ball to score; touching a plain ball adds a ball, and the rare bonus ball
scores 1000. Levels get faster and fuller, and a top-ten table keeps the best games, with names
typed in sprite letters.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quibbix developers <quibbix@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps (from dpkg-dev) works out Depends from the libraries the executable links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
