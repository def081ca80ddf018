#!/usr/bin/env bash
# Start without a file, quit with the main window's close button: the process ends with 0. A
# second start shows its windows, the info panel whole on the screen even at twice the scale,
# and Alt+F4 ends it as well.
. "$(dirname "$0")/desktop.sh"

start_editor
focus_main
wait_window '^情報$'
# The frame is maximised: its close button is the rightmost one of the title bar.
read -r x y w _ < <(geometry "$MAIN")
top=$(title_height "$MAIN")
[ -n "$top" ] && [ "$top" -gt 4 ] || fail "no title bar on the main window"
click_at $((x + w - top / 2 - 2)) $((y - top / 2))
wait_ended "$EDITOR_PID" 2 || fail "the editor still runs 2 s after its close button"
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE"

QT_SCALE_FACTOR=2 start_editor
focus_main
wait_window '^情報$'
panel=$WIN
read -r sw sh < <(xdotool getdisplaygeometry)
inside() {
    read -r px py pw ph < <(geometry "$panel")
    [ "$px" -ge 0 ] && [ $((py - $(title_height "$panel"))) -ge 0 ] && [ $((px + pw)) -le "$sw" ] &&
        [ $((py + ph)) -le "$sh" ]
}
wait_for 3 inside || fail "the info panel is not whole on the ${sw}x$sh screen: $(geometry "$panel")"
focus_main
keys alt+F4
wait_ended "$EDITOR_PID" 2 || fail "the editor still runs 2 s after Alt+F4"
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE"
echo "ok"
