#!/usr/bin/env bash
# The scenario scripts run by the desktop's runner and by the web build's under Node: every shot,
# output and exit status must be the same to the byte, which shows that the engine computes the
# same in wasm. Each script starts from one seed and ends with a dump and a shot of where it left
# the game.
set -uo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for script in tests/scenarios/*.scn; do
    name=$(basename "$script" .scn)
    for side in desktop web; do
        mkdir -p "$work/$side/$name"
        cd "$work/$side/$name"
        runner=("$root/build/release/quibbix-scenario")
        [ $side = web ] && runner=(node --no-experimental-fetch "$root/build/web-game/quibbix-scenario.js")
        { echo 'seed 19'; cat "$root/$script"; printf 'dump\nshot end.png\n'; } |
            "${runner[@]}" --program-dir /opt/quibbix - >out 2>err
        echo $? >status
    done
done
cd "$root"
diff -rq "$work/desktop" "$work/web" && echo "scenarios: $(ls "$work/web" | wc -l) scripts, $(find "$work/web" -name '*.png' | wc -l) shots, the same on the web"
