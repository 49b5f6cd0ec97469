#!/usr/bin/env bash
# Installs what the browser build and its tests need, and only what is still missing: Debian's
# emscripten and chromium, Node with npm, and a deb-src entry so that `apt-get source libsdl2`
# finds Debian's own SDL2 source. The entry copies the Debian archive's existing `deb` entries, so
# the machine's own mirror is used. Uses sudo when not run as root.
set -euo pipefail

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
updated=

if ! apt-cache showsrc libsdl2 2>/dev/null | grep -q '^Package: libsdl2$'; then
    list=/etc/apt/sources.list.d/quibbix-deb-src.sources
    {
        # deb822 stanzas signed by Debian's archive key, with their type turned into deb-src
        for file in /etc/apt/sources.list.d/*.sources; do
            [ -e "$file" ] || continue
            awk 'BEGIN { RS = ""; ORS = "\n\n" }
                 /debian-archive-keyring/ && /Types:[^\n]*deb/ {
                     sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$file"
        done
        # one-line entries of the Debian archive, written as deb822 stanzas
        for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
            [ -e "$file" ] || continue
            awk '$1 == "deb" && $2 !~ /^\[/ && $2 ~ /\/debian(-security)?\/?$/ {
                     printf "Types: deb-src\nURIs: %s\nSuites: %s\nComponents:", $2, $3
                     for (i = 4; i <= NF; i++) printf " %s", $i
                     printf "\n\n" }' "$file"
        done
    } | "${sudo[@]}" tee "$list" >/dev/null
    "${sudo[@]}" apt-get update -qq
    updated=1
fi

packages=(emscripten chromium dpkg-dev python3)
command -v node >/dev/null || packages+=(nodejs)
command -v npm >/dev/null || packages+=(npm)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    [ "$status" = installed ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
[ -n "$updated" ] || "${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
