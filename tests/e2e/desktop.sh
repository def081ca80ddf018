# Shared by the end-to-end journeys: a private user (home, XDG folders, runtime folder) under
# one temporary folder, a real X server (Xvfb) with a window manager (openbox), the built
# editor started and driven with xdotool, and checks of what a user sees: processes, windows,
# file bytes. Source it with the programs in QUARVEL and QUARVEL_CLI; everything it started
# is ended at exit.
set -euo pipefail

: "${QUARVEL:?the editor program}" "${QUARVEL_CLI:?the command-line tool}"
for tool in Xvfb openbox xdotool wmctrl xwininfo xprop; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed (scripts/deps.sh)"; exit 77; }
done
E2E_SCREEN=${E2E_SCREEN:-1280x800x24}

E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/quarvel-e2e.XXXXXX")
E2E_PIDS=()

e2e_cleanup() {
    local pid
    for pid in "${E2E_PIDS[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    for pid in "${E2E_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$E2E_DIR"
}
trap e2e_cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [ -n "${DISPLAY:-}" ] && [ -n "${E2E_SHOT:-}" ]; then
        import -window root "$E2E_SHOT" 2>/dev/null || true
    fi
    exit 1
}

# The user's own folders.
export HOME=$E2E_DIR/home XDG_CONFIG_HOME=$E2E_DIR/config XDG_STATE_HOME=$E2E_DIR/state
export XDG_DATA_HOME=$E2E_DIR/data XDG_CACHE_HOME=$E2E_DIR/cache XDG_RUNTIME_DIR=$E2E_DIR/run
export TMPDIR=$E2E_DIR/tmp
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_STATE_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$TMPDIR"
mkdir -m 0700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS
export QT_QPA_PLATFORM=xcb
# The journeys see the editor's own texts (the C locale), whatever language the desktop that
# runs them speaks; a journey sets a language of its own where it needs one.
unset LANGUAGE LC_ALL LC_MESSAGES QUARVEL_LANGUAGE
export LANG=C.UTF-8
MAPS=$E2E_DIR/maps
mkdir -p "$MAPS"
RECOVERY_COPY=$XDG_STATE_HOME/quarvel/unsaved.map
RUN_FOLDER=$XDG_RUNTIME_DIR/quarvel

# A free display, chosen by the server itself, and the window manager on it.
mkfifo "$E2E_DIR/display"
Xvfb -displayfd 3 -screen 0 "$E2E_SCREEN" -nolisten tcp -noreset 3>"$E2E_DIR/display" \
    >"$E2E_DIR/xvfb.log" 2>&1 &
E2E_PIDS+=($!)
read -r -t 10 display <"$E2E_DIR/display" || fail "Xvfb did not start: $(cat "$E2E_DIR/xvfb.log")"
export DISPLAY=:$display
openbox --sm-disable >"$E2E_DIR/openbox.log" 2>&1 &
E2E_PIDS+=($!)
for _ in $(seq 100); do wmctrl -m >/dev/null 2>&1 && break; sleep 0.05; done
wmctrl -m >/dev/null 2>&1 || fail "openbox did not start"

# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
    local limit=$1 start=$SECONDS
    shift
    until "$@"; do
        [ $((SECONDS - start)) -lt "$limit" ] || return 1
        sleep 0.1
    done
}

# The editor, started in the background; its pid in EDITOR_PID.
start_editor() {
    "$QUARVEL" "$@" >>"$E2E_DIR/editor.log" 2>&1 &
    EDITOR_PID=$!
    E2E_PIDS+=("$EDITOR_PID")
}

running() { kill -0 "$1" 2>/dev/null && [ "$(ps -o stat= -p "$1" | cut -c1)" != Z ]; }

# Waits up to $2 seconds for process $1 to end; its exit code in EXIT_CODE.
wait_ended() {
    local pid=$1 limit=$2 i
    for ((i = 0; i < limit * 20; i++)); do
        if ! running "$pid"; then
            EXIT_CODE=0
            wait "$pid" || EXIT_CODE=$?
            return 0
        fi
        sleep 0.05
    done
    return 1
}

# The id of the visible window whose title matches the regular expression $1 (first one).
window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
has_window() { [ -n "$(window "$1")" ]; }

# Waits for a window whose title matches $1 and puts its id in WIN.
wait_window() {
    wait_for "${2:-10}" has_window "$1" || fail "no window '$1'; windows: $(wmctrl -l)"
    WIN=$(window "$1")
}

# Waits for a dialog whose title matches $1 and for it to have the keyboard focus (a window is
# shown before the window manager gives it the focus; keys sent in between go elsewhere).
wait_dialog() {
    wait_window "$1" "${2:-10}"
    wait_for "${2:-10}" eval '[ "$(xdotool getactivewindow 2>/dev/null)" = "$WIN" ]' ||
        fail "window '$1' never got the focus; active: $(xdotool getactivewindow getwindowname)"
}

# The main frame: activated, keys go to it.
MAIN_TITLE='^Quarvel( - .*)?( \* )?$'
focus_main() {
    wait_window "$MAIN_TITLE"
    MAIN=$WIN
    xdotool windowactivate --sync "$MAIN" 2>/dev/null || xdotool windowfocus --sync "$MAIN"
}

keys() { xdotool key --clearmodifiers --delay 60 "$@"; }

# A left click at screen point ($1, $2). (mousemove --sync would wait for a pointer that is
# there already.)
click_at() {
    xdotool mousemove "$1" "$2"
    sleep 0.1
    xdotool click 1
}

# A window's client area on the screen: X Y W H.
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
        /Width:/ {w = $NF} /Height:/ {h = $NF} END {print x, y, w, h}'
}

# The height of a window's title bar (its frame above the client area).
title_height() {
    xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= *[0-9]*, *[0-9]*, *\([0-9]*\),.*/\1/p'
}

# Paints chip 1 (one step right from chip 0) with a left click into the edit view: the views
# are tiled side by side first, so the edit view fills the left half of the frame.
paint_one_chip() {
    focus_main
    keys alt+w v Right
    sleep 0.3
    read -r x y w h < <(geometry "$MAIN")
    click_at $((x + w / 4)) $((y + h / 2))
}

# Bytes in which files $1 and $2 differ, as "offset value-in-$2" lines (decimal).
changed_bytes() {
    { cmp -l "$1" "$2" 2>/dev/null || true; } | while read -r off _ new; do echo "$((off - 1)) $((8#$new))"; done
}

# A new, empty map file.
empty_map() {
    "$QUARVEL_CLI" new "$1" >/dev/null 2>&1 || fail "cannot make the map $1"
}

# A new map a.map (its first bytes kept as before.map), the editor started on it, one chip
# painted.
edit_new_map() {
    empty_map "$MAPS/a.map"
    cp "$MAPS/a.map" "$MAPS/before.map"
    start_editor "$MAPS/a.map"
    paint_one_chip
    wait_window '^Quarvel - .*a\.map \* $' 5
}

# Fails unless file $2 differs from file $1 in one cell, which holds chip 1.
expect_painted() {
    local changes
    changes=$(changed_bytes "$1" "$2")
    [ "$(echo "$changes" | wc -l)" -eq 1 ] && [ "${changes##* }" -eq 1 ] ||
        fail "$2 should hold chip 1 in one cell where $1 does not; changed bytes: $changes"
}

# 終了 in the File menu: the editor ends within 2 s with 0.
quit_with_menu() {
    focus_main
    keys alt+f x
    wait_ended "$EDITOR_PID" 2 || fail "the editor still runs 2 s after 終了"
    [ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after 終了"
}
