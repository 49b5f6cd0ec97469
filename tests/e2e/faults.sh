#!/usr/bin/env bash
# Every way a session ends saves the table: five games play to their time-out side by side, a name
# is typed into each, and each ends differently (SIGTERM, SIGHUP, SIGINT, its window destroyed by
# another client, its X server killed). Meanwhile a second copy brings the first back (and gives up
# on a stopped one), and games lose their X server right after a signal. No session bus is started:
# the game must not leave one behind either.
#   faults.sh QUIBBIX QUIBBIX_SCENARIO
set -euo pipefail
game=$1
scenario=$2
source "$(dirname "$0")/lib.sh"

e2e_init
# Every process the game may start inherits this mark, even one that leaves our process tree.
export QUIBBIX_FAULTS_MARK=$E2E_WORK
marked() {
    local pid
    for pid in $(pgrep -x "$1" || true); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "QUIBBIX_FAULTS_MARK=$E2E_WORK" && echo "$pid"
    done
}
stop_marked() {
    local pid
    for pid in $(marked dbus-daemon) $(marked quibbix); do kill "$pid" 2>/dev/null || true; done
}
trap 'stop_marked; e2e_cleanup' EXIT

e2e_sprites "$scenario" cursor='frmGraphics.pctAlphabet(0)'
cursor="$E2E_WORK/sprites/cursor.png"

# A private X server with a window manager for each game played to its end, since a game whose
# window loses the keyboard to another pauses; the last one is killed under its game at the end.
# One more holds the games that come and go meanwhile.
declare -A display
for name in term hup int close xkill other; do
    e2e_xvfb
    e2e_wm
    display[$name]=$DISPLAY
    [ "$name" = xkill ] && xvfb_xkill=$E2E_XVFB_PID
done

# Each copy of the game has its own settings and runtime folder, so the copies do not see each other.
declare -A pid window home
declare -a stopped
logouts=0
prepare() {
    local name=$1
    home[$name]="$E2E_WORK/$name"
    mkdir -p "${home[$name]}/config/Quibbix"
    mkdir -m 700 "${home[$name]}/runtime"
    printf '[Settings]\nSound=0\nHighScoreName1=OLD\nHighScore1=0\n' >"${home[$name]}/config/Quibbix/settings.ini"
}
settings() { echo "${home[$1]}/config/Quibbix/settings.ini"; }
launch() {
    local name=$1
    export DISPLAY=$2
    E2E_STDERR="${home[$name]}/stderr" e2e_start_game env XDG_CONFIG_HOME="${home[$name]}/config" \
        XDG_RUNTIME_DIR="${home[$name]}/runtime" "$game"
    pid[$name]=$E2E_GAME_PID
    window[$name]=$E2E_WINDOW
}
play() {
    local name=$1
    prepare "$name"
    launch "$name" "${display[$name]}"
    xdotool windowactivate --sync "${window[$name]}"
    xdotool mousemove --window "${window[$name]}" 523 286 click 1
    xdotool mousemove --window "${window[$name]}" 300 30
}
ended_within() { e2e_ended_within "${pid[$1]}" "$2"; }
status_of() {
    local status=0
    wait "${pid[$1]}" || status=$?
    echo "$status"
}
ends_with() { ended_within "$1" "$2" && [ "$(status_of "$1")" = "$3" ]; }

for name in term hup int close xkill; do play "$name"; done

# A second start brings the first copy back, even from the taskbar, and even from another
# environment: no runtime folder, and the same settings folder by another spelling.
prepare single
launch single "${display[other]}"
E2E_WINDOW=${window[single]}
e2e_click 612 22
e2e_check "the minimise icon minimises" grep -q Iconic <(xprop -id "${window[single]}" WM_STATE)
elsewhere=(env -u XDG_RUNTIME_DIR XDG_CONFIG_HOME="${home[single]}/./config/" "$game")
start=$(date +%s%N)
timeout 5 "${elsewhere[@]}" 2>"$E2E_WORK/second.stderr" || e2e_fail "the second copy failed"
took=$((($(date +%s%N) - start) / 1000000))
e2e_check "a second copy from another environment steps back within 2 s ($took ms)" [ "$took" -lt 2000 ]
sleep 0.5
e2e_check "the first copy's window is back, not minimised" \
    grep -q Normal <(xprop -id "${window[single]}" WM_STATE)
e2e_check "the second copy opened no window" \
    [ "$(xdotool search --onlyvisible --name '^Quibbix$' | wc -l)" -eq 1 ]

# A stopped first copy (Ctrl+Z): later starts give up by themselves, a signal ends one at once.
kill -STOP "${pid[single]}"
# Each thread stops on its own time: a knock that reaches the listener before it has stopped is
# still answered.
all_stopped() { ! grep -h '^State:' /proc/"$1"/task/*/status | grep -qv 'T (stopped)'; }
e2e_wait_for all_stopped "${pid[single]}"
for n in {1..6}; do "${elsewhere[@]}" 2>"$E2E_WORK/stopped.$n" & stopped[n]=$!; done
start=$(date +%s%N) statuses=""
for n in {1..6}; do wait "${stopped[n]}" && statuses+=0 || statuses+=$?; done
took=$((($(date +%s%N) - start) / 1000000))
e2e_check "six starts beside a stopped copy end with status 1 ($statuses) within 3 s ($took ms)" \
    [ "$statuses" = 111111 -a "$took" -lt 3000 ]
e2e_check "each names the stopped copy" \
    [ "$(cat "$E2E_WORK"/stopped.* | grep -c "(process ${pid[single]}) is not answering")" = 6 ]
"${elsewhere[@]}" 2>/dev/null &
pid[waiting]=$!
sleep 0.5
kill -TERM "${pid[waiting]}"
e2e_check "SIGTERM ends a waiting start within a second" ended_within waiting 10
kill -CONT "${pid[single]}"
sleep 0.3
kill -TERM "${pid[single]}"
e2e_check "the first copy still ends as usual, with status 0" ends_with single 10 0
e2e_check "and saves" grep -q '^HighScoreName1=OLD$' "$(settings single)"

# A copy that crashed leaves nothing in the way of the next.
launch single "${display[other]}"
kill -KILL "${pid[single]}"
{ status_of single; } >/dev/null 2>&1
launch single "${display[other]}"
kill -TERM "${pid[single]}"
e2e_check "the next copy starts and ends as usual" ended_within single 10

# Logging out: a signal, then the X server goes away while the game shuts down. It never crashes
# and the table is saved.
for delay in 0 0 0.01 0.02 0.03; do
    name=logout$((++logouts))
    e2e_xvfb
    prepare "$name"
    printf '[Settings]\nSound=1\nHighScoreName1=OLD\nHighScore1=0\n[Display]\nZoom=2\n' >"$(settings "$name")"
    launch "$name" "$DISPLAY"
    xdotool mousemove --window "${window[$name]}" 1046 572 click 1
    sleep 0.5
    kill -TERM "${pid[$name]}"
    sleep "$delay"
    kill -KILL "$E2E_XVFB_PID"
    e2e_check "the display lost ${delay} s after SIGTERM ends the game" ended_within "$name" 20
    status=$(status_of "$name")
    e2e_check "with status 0 or 1 ($status)" [ "$status" -le 1 ]
    e2e_check "and saves the table" grep -q '^HighScoreName10=' "$(settings "$name")"
done

# The five games reach their time-out; a name is typed into each, not yet finished with Enter for
# some, since a name half typed is saved as it stands.
typed() {
    local name=$1 letters=$2
    export DISPLAY=${display[$name]}
    E2E_WINDOW=${window[$name]}
    for _ in $(seq 150); do e2e_shows "$cursor" 45 81 && break; sleep 0.2; done
    e2e_shows "$cursor" 45 81 || e2e_fail "the $name game did not reach name entry"
    xdotool type --delay 40 "$letters"
}
typed term term
xdotool key Return
typed hup hup
typed int int
xdotool key Return
typed close close
typed xkill xkill
xdotool key Return
sleep 0.3

for signal in term hup int; do
    kill -"${signal^^}" "${pid[$signal]}"
    e2e_check "SIG${signal^^} ends the game within a second with status 0" ends_with "$signal" 10 0
    e2e_check "and saves the name typed above the old entry" \
        [ "$(grep -c -e "^HighScoreName1=${signal^^}\$" -e '^HighScoreName2=OLD$' "$(settings "$signal")")" = 2 ]
done

DISPLAY=${display[close]} xdotool windowclose "${window[close]}"
e2e_check "a window destroyed by another client ends the game with status 0" ends_with close 20 0
e2e_check "it saves the name typed" grep -q '^HighScoreName1=CLOSE$' "$(settings close)"

kill "$xvfb_xkill"
e2e_check "a lost X server ends the game with status 1" ends_with xkill 20 1
e2e_check "it says so in one line" [ "$(wc -l <"${home[xkill]}/stderr")" = 1 ]
e2e_check "it saves the name typed" grep -q '^HighScoreName1=XKILL$' "$(settings xkill)"

sleep 2
e2e_check "no copy of the game is left" [ -z "$(marked quibbix)" ]
e2e_check "no session bus was started for the game" [ -z "$(marked dbus-daemon)" ]
echo "all fault checks passed"
