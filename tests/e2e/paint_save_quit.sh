#!/usr/bin/env bash
# Start on a map, paint one chip with the mouse, save with the menu, quit with the menu: the
# process ends at once with 0, leaves no lock or socket, and the file holds the chip.
. "$(dirname "$0")/desktop.sh"

empty_map "$MAPS/a.map"
cp "$MAPS/a.map" "$MAPS/before.map"
start_editor "$MAPS/a.map"
focus_main
paint_one_chip
wait_window '^Quarvel - .*a\.map \* $' 5
keys alt+f s
wait_window '^Quarvel - .*a\.map$' 5
changes=$(changed_bytes "$MAPS/before.map" "$MAPS/a.map")
[ "$(echo "$changes" | wc -l)" -eq 1 ] && [ "${changes##* }" -eq 1 ] ||
    fail "the saved file should hold chip 1 in one cell; changed bytes: $changes"

focus_main
keys alt+f x
wait_ended "$EDITOR_PID" 2 || fail "the editor still runs 2 s after 終了"
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE"
[ -z "$(ls -A "$RUN_FOLDER" 2>/dev/null)" ] || fail "left behind: $(ls -A "$RUN_FOLDER")"
echo "ok"
