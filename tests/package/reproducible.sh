#!/usr/bin/env bash
# Builds the Debian package again elsewhere, later, under another time zone, locale and umask, and
# checks that every .deb is byte for byte the first build's.
#   tests/package/reproducible.sh [FIRST]   (default build/package, built first when it holds no package)
set -euo pipefail
cd "$(dirname "$0")/../.."
first=${1:-build/package}
second=build/package-rebuild

compgen -G "$first/*.deb" >/dev/null || tools/build-package.sh "$first"
(
    umask 0002
    export TZ=Pacific/Kiritimati LC_ALL=C.UTF-8
    tools/build-package.sh "$second"
) >"$first.rebuild.log" 2>&1 || { tail -40 "$first.rebuild.log"; echo "FAIL - the second build failed"; exit 1; }

cmp -s "$first/source.sha256" "$second/source.sha256" ||
    { echo "FAIL - $first was built from other sources than the checkout's; run make package first"; exit 1; }

status=0
for deb in "$first"/*.deb; do
    name=$(basename "$deb")
    if cmp -s "$deb" "$second/$name"; then
        echo "ok - $name is byte-identical: $(sha256sum <"$deb" | cut -d' ' -f1)"
    else
        echo "FAIL - $name differs between $first and $second"
        sha256sum "$deb" "$second/$name" 2>&1 | sed 's/^/    /'
        status=1
    fi
done
exit "$status"
