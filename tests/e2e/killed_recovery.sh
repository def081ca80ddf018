#!/usr/bin/env bash
# Edit, kill -9, start again: the recovery question comes; はい restores the edit, which a
# save then writes to the map's own file.
. "$(dirname "$0")/desktop.sh"

edit_new_map
wait_for 10 test -s "$RECOVERY_COPY" || fail "no recovery copy while the map has changes"
kill -9 "$EDITOR_PID"
wait_ended "$EDITOR_PID" 2 || fail "kill -9 did not end the editor"

start_editor
wait_dialog '^確認$' 10
keys alt+y
wait_window '^Quarvel - .*a\.map \* $' 5
focus_main
keys alt+f s
wait_window '^Quarvel - .*a\.map$' 5
expect_painted "$MAPS/before.map" "$MAPS/a.map"
quit_with_menu
echo "ok"
