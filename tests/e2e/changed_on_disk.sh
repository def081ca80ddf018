#!/usr/bin/env bash
# Another program changes the open map's file. While another window is in front the editor
# says nothing; brought to the front it asks at once, and はい loads the file again, so the next
# save keeps the other program's cell. With changes of its own it tells once, and 上書き保存
# asks before it replaces the newer file: いいえ leaves that file as it is.
. "$(dirname "$0")/desktop.sh"

# quarvel-cli sets cell ($1, 0, 0) of a.map to chip $2.
other_program_sets() {
    printf 'set %s 0 0 %s\nsave\n' "$1" "$2" | "$QUARVEL_CLI" edit "$MAPS/a.map" >/dev/null ||
        fail "quarvel-cli could not edit the map"
}
cell() { od -An -tu1 -j $((48 + $1)) -N1 "$MAPS/a.map" | tr -d ' '; }
no_box() { ! has_window '^確認$'; }

empty_map "$MAPS/a.map"
start_editor "$MAPS/a.map"
focus_main

# Another window in front: no question while the editor is in the background.
xmessage -name front -title front "front" &
E2E_PIDS+=($!)
wait_window '^front$'
xdotool windowactivate --sync "$WIN" 2>/dev/null || true
sleep 0.5
other_program_sets 5 20
sleep 3
no_box || fail "the editor asked while another window was in front"

# In front again: the question at once; はい loads the file. (Not waited for as focus_main does:
# the question may take the focus before the frame has it.)
xdotool windowactivate "$MAIN" 2>/dev/null || true
wait_dialog '^確認$' 2
keys alt+y
wait_for 5 no_box || fail "the question stays after はい"
paint_one_chip
wait_window '^Quarvel - .*a\.map \* $' 5
keys ctrl+s
wait_window '^Quarvel - .*a\.map$' 5
[ "$(cell 5)" -eq 20 ] || fail "the save lost the other program's cell: はい did not load it"
sleep 2
no_box || fail "the editor's own save was taken for another program's change"

# Changes of its own, then the file changes again: told once, and 上書き保存 asks.
paint_one_chip
wait_window '^Quarvel - .*a\.map \* $' 5
other_program_sets 6 21
wait_dialog '^確認$' 3
keys Return
wait_for 5 no_box || fail "the message stays after OK"
sleep 2
no_box || fail "told twice about one change"
focus_main
keys ctrl+s
wait_dialog '^確認$' 3
keys alt+n
wait_for 5 no_box || fail "the overwrite question stays after いいえ"
[ "$(cell 6)" -eq 21 ] || fail "いいえ replaced the other program's file"
has_window '^Quarvel - .*a\.map \* $' || fail "the editor's changes are not kept as unsaved"
echo "ok"
