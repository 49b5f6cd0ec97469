#!/usr/bin/env bash
# The Debian package as a distribution and a player meet it: lintian is clean, it holds exactly the
# expected files; installed into a fresh root it plays its sounds from the data folder and saves the
# player's settings; purged, it leaves only those settings and their lock.
#   tests/package/check.sh [DIR]     (default build/package, after `make package`)
set -euo pipefail
cd "$(dirname "$0")/../.."
out=${1:-build/package}
# shellcheck source=tests/e2e/lib.sh
source tests/e2e/lib.sh

version=$(dpkg-parsechangelog -S Version)
arch=$(dpkg --print-architecture)
deb=$out/quibbix_${version}_$arch.deb
changes=$out/quibbix_${version}_$arch.changes
desktop_id=io.github.quibbix.Quibbix
component_id=io.github.quibbix.quibbix
sizes=(16 32 48 64 128 256 512)
sounds=(Bleep.wav Missile.wav Window.wav)

e2e_init

# Every tag is listed, overridden ones too; an error or a warning fails, and so does lintian failing
# to run (--fail-on warning would count the overridden warning too).
lintian_clean() {
    local status=0
    lintian --pedantic --display-info --display-experimental --show-overrides "$changes" \
        >"$E2E_WORK/lintian" 2>"$E2E_WORK/lintian.err" || status=$?
    sed 's/^/    lintian: /' "$E2E_WORK/lintian"
    # Root is told that lintian need not run as root; anything else on standard error counts.
    grep -v 'root privileges' "$E2E_WORK/lintian.err" && return 1
    [ "$status" -eq 0 ] && ! grep -E '^(E|W): ' "$E2E_WORK/lintian"
}
e2e_check "lintian --pedantic: no error and no warning on the .deb and the .changes" lintian_clean

expected_files() {
    {
        printf '%s\n' usr/games/quibbix usr/share/man/man6/quibbix.6.gz usr/share/doc/quibbix/copyright \
            usr/share/doc/quibbix/changelog.Debian.gz usr/share/lintian/overrides/quibbix \
            "usr/share/applications/$desktop_id.desktop" "usr/share/metainfo/$component_id.metainfo.xml" \
            "usr/share/icons/hicolor/scalable/apps/$desktop_id.svg"
        printf 'usr/share/games/quibbix/%s\n' "${sounds[@]}"
        for n in "${sizes[@]}"; do echo "usr/share/icons/hicolor/${n}x${n}/apps/$desktop_id.png"; done
    } | LC_ALL=C sort
}
packaged_files() { dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | LC_ALL=C sort; }
e2e_check "the package holds exactly the expected files" diff <(expected_files) <(packaged_files)
field() { dpkg-deb -f "$deb" "$1" | grep -qx "$2"; }
e2e_check "Section: games" field Section games
# The artwork is decoded at build time and the effects play through SDL's own audio.
depends() { dpkg-deb -f "$deb" Depends | grep -w -o -e libsdl2-2.0-0 -e libsdl2-mixer-2.0-0 -e libpng16-16; }
e2e_check "Depends on SDL2, not on SDL2_mixer or libpng" [ "$(depends)" = libsdl2-2.0-0 ]

root=$E2E_WORK/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
# The libraries come from this machine, not from the empty root's database.
dpkg_root=(dpkg "--root=$root" "--log=$E2E_WORK/dpkg.log" --force-depends --force-not-root)
[ "$(id -u)" -eq 0 ] || dpkg_root=(fakeroot "${dpkg_root[@]}")
quietly() { "$@" >"$E2E_WORK/quietly.log" 2>&1 || { cat "$E2E_WORK/quietly.log"; return 1; }; }
e2e_check "dpkg --root installs the package into a fresh root" quietly "${dpkg_root[@]}" --install "$deb"

game=$root/usr/games/quibbix
is_program() { [ -f "$game" ] && [ ! -L "$game" ] && [ -x "$game" ] && file -b "$game" | grep -q '^ELF .*executable'; }
e2e_check "/usr/games/quibbix is an executable file, not a link" is_program
for wav in "${sounds[@]}"; do e2e_check "/usr/share/games/quibbix/$wav is the game's $wav" cmp "assets/sounds/$wav" "$root/usr/share/games/quibbix/$wav"; done
e2e_check "the desktop entry passes desktop-file-validate with no output at all" \
    test -z "$(desktop-file-validate "$root/usr/share/applications/$desktop_id.desktop" 2>&1)"
e2e_check "the desktop entry's window class is its ID" \
    grep -qx "StartupWMClass=$desktop_id" "$root/usr/share/applications/$desktop_id.desktop"
metainfo_clean() {
    local report
    report=$(appstreamcli validate --pedantic --no-net "$root/usr/share/metainfo/$component_id.metainfo.xml" 2>&1) || { echo "$report"; return 1; }
    [ "$(printf '%s\n' "$report" | grep -cv '^$')" -eq 1 ] || { echo "$report"; return 1; }
}
e2e_check "the metainfo passes appstreamcli validate --pedantic with no issue at all" metainfo_clean
metainfo_release() { grep -q "<release version=\"${version%-*}\" date=\"[0-9-]*\"" "$root/usr/share/metainfo/$component_id.metainfo.xml"; }
e2e_check "the metainfo names release ${version%-*} with its date" metainfo_release
icon_size() { [ "$(identify -format '%wx%h' "$root/usr/share/icons/hicolor/$1x$1/apps/$desktop_id.png")" = "$1x$1" ]; }
for n in "${sizes[@]}"; do e2e_check "the ${n}x${n} icon is ${n}x${n} pixels" icon_size "$n"; done
man_clean() { [ -z "$(zcat "$root/usr/share/man/man6/quibbix.6.gz" | groff -man -Tutf8 -ww -z 2>&1)" ]; }
e2e_check "the manual page renders without warnings" man_clean

# The player's settings, with sound on, inside the root: the purge must leave only them.
export XDG_CONFIG_HOME=$root/home/player/.config
settings=$XDG_CONFIG_HOME/Quibbix/settings.ini
mkdir -p "$(dirname "$settings")"
printf '[Settings]\nSound=1\n' >"$settings"

# A session bus of its own, or SDL would autolaunch one that outlives the game.
e2e_xvfb
e2e_bus
e2e_wm
trace=$E2E_WORK/strace.log
# One trace file per thread (-ff), so that a call is never split by another thread's.
SDL_AUDIODRIVER=dummy e2e_spawn strace -ff -qq -e trace=open,openat -o "$trace" "$game"
game_pid=$E2E_PID
e2e_check "the installed game shows its window" e2e_find_window

# Started and paused, the pointer put where the target will be; resumed, it clears it and is heard.
e2e_click 523 286
sound_opened() { cat "$trace".* | grep -q "\"$root/usr/share/games/quibbix/[A-Za-z]*\.wav\", O_RDONLY[^=]*= [0-9]"; }
touch_a_ball() {
    local try
    for try in 1 2 3; do e2e_aim target && e2e_touch && e2e_wait_for sound_opened && return 0; done
    return 1
}
e2e_check "touching a ball plays a sound from /usr/share/games/quibbix" touch_a_ball
no_sound_elsewhere() { ! cat "$trace".* | grep '\.wav"' | grep -v "\"$root/usr/share/games/quibbix/"; }
e2e_check "the game looks for no sound anywhere else" no_sound_elsewhere

e2e_click 634 22
e2e_check "the exit icon ends the game with status 0" e2e_ended_well "$game_pid"
saved() { grep -qx 'Sound=1' "$settings" && grep -q '^HighScore1=' "$settings"; }
e2e_check "the game wrote its settings" saved

e2e_check "dpkg --purge removes the package" quietly "${dpkg_root[@]}" --purge quibbix
left_over() { (cd "$root" && find . -mindepth 1 -not -path './var/lib/dpkg' -not -path './var/lib/dpkg/*' -not -path './var' -not -path './var/lib' | LC_ALL=C sort); }
only_settings() {
    diff <(left_over) - <<LIST
./home
./home/player
./home/player/.config
./home/player/.config/Quibbix
./home/player/.config/Quibbix/quibbix.lock
./home/player/.config/Quibbix/settings.ini
LIST
}
e2e_check "nothing of the package is left but the player's settings and their lock" only_settings
forgotten() { ! dpkg-query "--admindir=$root/var/lib/dpkg" --status quibbix && ! compgen -G "$root/var/lib/dpkg/info/quibbix.*"; }
e2e_check "dpkg's database no longer knows the package" quietly forgotten
