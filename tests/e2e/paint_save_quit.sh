#!/usr/bin/env bash
# Start on a map, paint one chip with the mouse, save with the menu, quit with the menu: the
# process ends at once with 0, leaves no lock or socket, and the file holds the chip.
. "$(dirname "$0")/desktop.sh"

edit_new_map
keys alt+f s
wait_window '^Quarvel - .*a\.map$' 5
expect_painted "$MAPS/before.map" "$MAPS/a.map"
quit_with_menu
[ -z "$(ls -A "$RUN_FOLDER" 2>/dev/null)" ] || fail "left behind: $(ls -A "$RUN_FOLDER")"
echo "ok"
