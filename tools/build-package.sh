#!/usr/bin/env bash
# Builds the Debian package from a copy of the checkout, because dpkg-buildpackage writes its
# results beside the source folder and nothing may land outside build/.
#
#   tools/build-package.sh [OUT]      (OUT under build/, default build/package)
#
# Leaves in OUT the game's .deb, its -dbgsym .deb, the .buildinfo and the .changes; the copy it
# built from is removed once the build succeeds.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/package}
case $out in
    build/?*) ;;
    *) echo "build-package.sh: the output folder must lie under build/, not $out" >&2; exit 2 ;;
esac

version=$(dpkg-parsechangelog -S Version)
source_dir=$out/source/quibbix-${version%-*}
rm -rf "$out"
mkdir -p "$source_dir"

# The files git tracks or would track, as they stand in the working tree, edits included. The
# archive's checksum, kept as OUT/source.sha256, names the source a build was made from.
git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do
        if [ -e "$file" ]; then printf '%s\0' "$file"; fi
    done |
    tar --null --files-from=- --sort=name --mtime=@0 --owner=0 --group=0 --numeric-owner \
        --create --file="$out/source.tar"
sha256sum <"$out/source.tar" | cut -d' ' -f1 >"$out/source.sha256"
# Extracted as new files: dpkg-deb clamps every time in the package to the changelog's date, but
# leaves older ones as they are.
tar --extract --touch --file="$out/source.tar" --directory="$source_dir"
rm "$out/source.tar"

# Built as a distribution's build machine builds it, without the compiler cache: ccache's base_dir
# rewrites the source paths in the debugging information, and so the build ID of the executable.
unset CMAKE_CXX_COMPILER_LAUNCHER
export CCACHE_DISABLE=1
(cd "$source_dir" && dpkg-buildpackage --unsigned-source --unsigned-changes --build=binary --jobs-try=auto)

mv "$out"/source/*.deb "$out"/source/*.buildinfo "$out"/source/*.changes "$out"/
rm -rf "$out/source"
echo "build-package.sh: $(cd "$out" && ls ./*.deb ./*.changes | sed 's|^\./||' | tr '\n' ' ')in $out"
