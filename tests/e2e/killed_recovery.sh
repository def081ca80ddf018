#!/usr/bin/env bash
# Edit, kill -9, start again: the recovery question comes, naming the map; はい restores the
# edit, which a save then writes to the map's own file.
. "$(dirname "$0")/desktop.sh"

empty_map "$MAPS/a.map"
cp "$MAPS/a.map" "$MAPS/before.map"
start_editor "$MAPS/a.map"
paint_one_chip
wait_window '^Quarvel - .*a\.map \* $' 5
wait_for 10 test -s "$RECOVERY_COPY" || fail "no recovery copy while the map has changes"
kill -9 "$EDITOR_PID"
wait_ended "$EDITOR_PID" 2 || fail "kill -9 did not end the editor"

start_editor
wait_window '^確認$' 10
keys alt+y
wait_window '^Quarvel - .*a\.map \* $' 5
focus_main
keys alt+f s
wait_window '^Quarvel - .*a\.map$' 5
changes=$(changed_bytes "$MAPS/before.map" "$MAPS/a.map")
[ "$(echo "$changes" | wc -l)" -eq 1 ] && [ "${changes##* }" -eq 1 ] ||
    fail "the restored and saved map should hold chip 1 in one cell; changed bytes: $changes"
focus_main
keys alt+f x
wait_ended "$EDITOR_PID" 2 || fail "the editor still runs 2 s after 終了"
echo "ok"
