#!/usr/bin/env bash
# Checks the Debian package and a `cmake --install` to another prefix: both must hold exactly the
# expected tree, and the game must run from where it was unpacked.
#
#   tests/package/check.sh [BUILD_DIR]     (default build/release, after `make package`)
#
# Prints one line per check and "N passed, M failed"; exits 1 when any check failed.
set -uo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/release}
app_id=io.github.quibbix.Quibbix
sizes=(16 32 48 64 128 256)

passed=0
failed=0
check() {  # check DESCRIPTION COMMAND...
    local description=$1
    shift
    if "$@" >"$scratch/last.log" 2>&1; then
        echo "ok   $description"
        passed=$((passed + 1))
    else
        echo "FAIL $description"
        sed 's/^/     | /' "$scratch/last.log" | head -20
        failed=$((failed + 1))
    fi
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt" 2>/dev/null)
deb="$build/quibbix_${version}_$(dpkg --print-architecture).deb"

# Every file and link below PREFIX, as paths relative to it, sorted.
tree_of() { (cd "$1" && find . \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort); }

expected_tree() {
    {
        echo bin/quibbix
        echo lib/quibbix/quibbix
        printf 'lib/quibbix/%s\n' Missile.wav Bleep.wav Window.wav
        echo "share/applications/$app_id.desktop"
        echo "share/metainfo/$app_id.metainfo.xml"
        echo share/man/man6/quibbix.6
        echo share/doc/quibbix/copyright
        for n in "${sizes[@]}"; do echo "share/icons/hicolor/${n}x${n}/apps/quibbix.png"; done
    } | LC_ALL=C sort
}

same_tree() { diff <(expected_tree) <(tree_of "$1"); }

is_elf_program() { [ -x "$1" ] && [ ! -L "$1" ] && file -b "$1" | grep -q '^ELF .*executable'; }

# bin/quibbix is a relative link that resolves to the program in lib/quibbix.
relative_link() {
    local link=$1/bin/quibbix
    [ -L "$link" ] || return 1
    case $(readlink "$link") in /*) return 1 ;; esac
    [ "$(readlink -f "$link")" = "$(readlink -f "$1/lib/quibbix/quibbix")" ]
}

# The desktop entry's Exec=quibbix finds the program through the prefix's bin folder.
exec_resolves() {
    local desktop=$1/share/applications/$app_id.desktop
    grep -qx 'Exec=quibbix' "$desktop" && grep -qx 'Icon=quibbix' "$desktop" || return 1
    local found
    found=$(PATH="$1/bin" command -v quibbix) || return 1
    [ "$(readlink -f "$found")" = "$(readlink -f "$1/lib/quibbix/quibbix")" ]
}

icon_size() { [ "$(identify -format '%wx%h' "$1")" = "$2x$2" ]; }

man_renders() {
    local page=$1/share/man/man6/quibbix.6
    local warnings
    warnings=$(groff -man -Tutf8 -ww -z "$page" 2>&1)
    [ -z "$warnings" ] || { echo "$warnings"; return 1; }
    local text
    text=$(MANWIDTH=80 man -l -P cat "$page" 2>&1) || return 1
    for section in NAME SYNOPSIS DESCRIPTION 'HOW TO PLAY' FILES ENVIRONMENT NOTES; do
        grep -qx "$section" <<<"$text" || { echo "no $section section"; return 1; }
    done
}

# Without a display the game says so on one line of standard error and exits with status 1.
refuses_without_display() {
    local out
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy \
          XDG_CONFIG_HOME="$scratch/config" timeout 20 "$1/bin/quibbix" 2>&1 </dev/null)
    local status=$?
    echo "status $status: $out"
    [ "$status" -eq 1 ] && [ "$(printf '%s\n' "$out" | wc -l)" -eq 1 ] && [ -n "$out" ]
}

metainfo_version() { grep -q "<release version=\"$version\"" "$1/share/metainfo/$app_id.metainfo.xml"; }
man_version() { grep -q "^\.TH QUIBBIX 6 .*\"Quibbix $version\"" "$1/share/man/man6/quibbix.6"; }

check_prefix() {  # check_prefix LABEL PREFIX
    local label=$1 prefix=$2
    check "$label: exactly the expected files, no tests or developer tools" same_tree "$prefix"
    check "$label: lib/quibbix/quibbix is an executable program" is_elf_program "$prefix/lib/quibbix/quibbix"
    for wav in Missile.wav Bleep.wav Window.wav; do
        check "$label: lib/quibbix/$wav beside the program" cmp "assets/sounds/$wav" "$prefix/lib/quibbix/$wav"
    done
    check "$label: bin/quibbix is a relative link to the program" relative_link "$prefix"
    check "$label: desktop entry is valid" desktop-file-validate "$prefix/share/applications/$app_id.desktop"
    check "$label: desktop Exec=quibbix resolves to the program" exec_resolves "$prefix"
    check "$label: metainfo is valid" appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml"
    check "$label: metainfo names release $version" metainfo_version "$prefix"
    for n in "${sizes[@]}"; do
        check "$label: ${n}x${n} icon is ${n}x${n} pixels" icon_size "$prefix/share/icons/hicolor/${n}x${n}/apps/quibbix.png" "$n"
    done
    check "$label: manual page renders without warnings" man_renders "$prefix"
    check "$label: manual page names version $version" man_version "$prefix"
    check "$label: runs from there, one line and status 1 without a display" refuses_without_display "$prefix"
}

# The package.
check "package $deb exists" test -f "$deb"
if [ -f "$deb" ]; then
    dpkg-deb -I "$deb" >"$scratch/info"
    field() { grep -q "^ $1: $2" "$scratch/info" || { cat "$scratch/info"; return 1; }; }
    check "package: Package quibbix" field Package 'quibbix$'
    check "package: Version $version" field Version "$version\$"
    check "package: Section games" field Section 'games$'
    check "package: Maintainer" field Maintainer 'Quibbix developers <quibbix@example.org>$'
    for library in libsdl2-2.0-0 libpng16-16 libstdc++6 libc6; do
        check "package: Depends lists $library" field Depends ".*\\b$library\\b"
    done
    no_mixer() { ! grep -q '^ Depends:.*mixer' "$scratch/info"; }
    check "package: Depends needs no sound mixing library" no_mixer
    owned_by_root() { ! dpkg-deb -c "$deb" | awk '$2 != "root/root"' | grep .; }
    check "package: every entry is owned by root" owned_by_root
    check "package: unpacks with dpkg-deb -x" dpkg-deb -x "$deb" "$scratch/deb"
    only_usr() { [ "$(ls -A "$scratch/deb")" = usr ]; }
    check "package: everything lies under /usr" only_usr
    check_prefix "package /usr" "$scratch/deb/usr"
fi

# The same tree from `cmake --install` to another prefix.
check "cmake --install to another prefix" cmake --install "$build" --prefix "$scratch/prefix"
check_prefix "install prefix" "$scratch/prefix"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
