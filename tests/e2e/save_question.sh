#!/usr/bin/env bash
# Quit with unsaved changes: the save question comes; キャンセル keeps the editor running with
# its changes; いいえ ends it with 0 and the file stays as it was.
. "$(dirname "$0")/desktop.sh"

edit_new_map

focus_main
keys alt+f x
wait_dialog '^確認$' 5
keys Escape
wait_for 5 eval '! has_window "^確認$"' || fail "the save question stays after キャンセル"
sleep 1
running "$EDITOR_PID" || fail "キャンセル ended the editor"
has_window '^Quarvel - .*a\.map \* $' || fail "キャンセル lost the window or the changes: $(wmctrl -l)"

focus_main
keys alt+f x
wait_dialog '^確認$' 5
keys alt+n
wait_ended "$EDITOR_PID" 2 || fail "the editor still runs 2 s after いいえ"
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE"
cmp -s "$MAPS/before.map" "$MAPS/a.map" || fail "いいえ changed the file"
[ ! -e "$RECOVERY_COPY" ] || fail "a clean end left a recovery copy"
echo "ok"
