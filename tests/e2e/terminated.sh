#!/usr/bin/env bash
# SIGTERM with unsaved changes (a logout, `kill`): the editor ends within 2 s with 0, asks
# nothing, leaves no lock or socket, and keeps a copy of the change at once; the next start
# offers that copy. SIGHUP does the same.
. "$(dirname "$0")/desktop.sh"

for signal in TERM HUP; do
    rm -f "$RECOVERY_COPY"
    edit_new_map
    # At once after the change, before the editor's own timer has kept a copy.
    kill -s "$signal" "$EDITOR_PID"
    wait_ended "$EDITOR_PID" 2 || fail "the editor still runs 2 s after SIG$signal"
    [ "$EXIT_CODE" -eq 0 ] || fail "SIG$signal: exit code $EXIT_CODE"
    [ -z "$(ls -A "$RUN_FOLDER" 2>/dev/null)" ] || fail "left behind: $(ls -A "$RUN_FOLDER")"
    expect_painted "$MAPS/a.map" "$RECOVERY_COPY"

    start_editor
    wait_dialog '^確認$' 10
    keys alt+n
    quit_with_menu
done
echo "ok"
