#!/usr/bin/env bash
# A second start with a file hands it over: the second start ends with 0 at once and the
# running copy shows the file in its title.
. "$(dirname "$0")/desktop.sh"

empty_map "$MAPS/a.map"
empty_map "$MAPS/b.map"
start_editor "$MAPS/a.map"
wait_window '^Quarvel - .*a\.map$' 10
first=$EDITOR_PID

start_editor "$MAPS/b.map"
wait_ended "$EDITOR_PID" 5 || fail "the second start still runs"
[ "$EXIT_CODE" -eq 0 ] || fail "the second start ended with $EXIT_CODE"
wait_window '^Quarvel - .*b\.map$' 5
running "$first" || fail "the running copy ended"

EDITOR_PID=$first
quit_with_menu
echo "ok"
