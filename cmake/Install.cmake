# What `cmake --install` puts under the prefix, laid out as Debian lays out a game:
#
#   games/quibbix                  the game
#   games/${QUIBBIX_DATA_DIR}/     its sound effects Missile.wav, Bleep.wav and Window.wav
#   share/applications/            the desktop entry
#   share/metainfo/                the AppStream description
#   share/icons/hicolor/*/apps/    the icon at 16, 32, 48, 64, 128, 256 and 512 pixels, and scalable
#   share/man/man6/quibbix.6       the manual page
#   share/doc/quibbix/copyright    the licence
#
# The game finds its sounds from the executable it resolves through /proc/self/exe, so the whole
# tree works from any prefix. With the default QUIBBIX_DATA_DIR "." the sounds lie beside the
# executable, as in the build tree; the Debian package (debian/rules) sets it to
# "../share/games/quibbix", the folder of a game's architecture-independent data. The developer
# tool quibbix-scenario and the tests are not installed.

include(GNUInstallDirs)

set(QUIBBIX_APP_ID io.github.quibbix.Quibbix)
set(QUIBBIX_COMPONENT_ID io.github.quibbix.quibbix)

# Builds without the game (the sanitizer and benchmark presets) have nothing to install.
if(NOT TARGET quibbix)
    return()
endif()

# games/, not CMAKE_INSTALL_BINDIR: Debian keeps games apart from other programs, in /usr/games
# and /usr/local/games.
set(games_dir games)
cmake_path(SET sounds_dir NORMALIZE "${games_dir}/${QUIBBIX_DATA_DIR}")
if(IS_ABSOLUTE "${QUIBBIX_DATA_DIR}" OR sounds_dir MATCHES "^\\.\\.")
    message(FATAL_ERROR "QUIBBIX_DATA_DIR must be a relative folder inside the prefix, not ${QUIBBIX_DATA_DIR}")
endif()

install(TARGETS quibbix RUNTIME DESTINATION ${games_dir})
install(FILES assets/sounds/Missile.wav assets/sounds/Bleep.wav assets/sounds/Window.wav
        DESTINATION ${sounds_dir})

install(FILES dist/${QUIBBIX_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES dist/${QUIBBIX_COMPONENT_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES dist/quibbix.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
# Debian looks for the licence as the package's copyright file; the package installs the
# machine-readable debian/copyright there instead.
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)

# The icon is named after the app ID, so a dock finds it from the window. The 32-pixel icon is the
# one the window itself shows; the scalable one is drawn by the same generator as the others.
foreach(size IN ITEMS 16 32 48 64 128 256 512)
    if(size EQUAL 32)
        set(icon assets/art/program_icon.png)
    else()
        set(icon assets/icons/quibbix-${size}.png)
    endif()
    install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${QUIBBIX_APP_ID}.png)
endforeach()
install(FILES assets/icons/quibbix.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${QUIBBIX_APP_ID}.svg)
