#!/usr/bin/env bash
# Give 上の階層 the key Page Up in ツール > ショートカットの設定..., quit, start again: Page Up
# goes one level up and Up no longer does; a chip painted then lands on level 1.
. "$(dirname "$0")/desktop.sh"

empty_map "$MAPS/a.map"
cp "$MAPS/a.map" "$MAPS/before.map"
start_editor "$MAPS/a.map"
focus_main
keys alt+t Up Return # the last item of ツール
wait_dialog '^ショートカットの設定$' 5
xdotool type --delay 60 '上の階層'
keys Tab Tab Prior Return # the list, the key field, the key, OK
wait_for 5 eval '! has_window "^ショートカットの設定$"' || fail "the dialog stays after OK"
SETTINGS=$XDG_CONFIG_HOME/quarvel/quarvel.ini
grep -qx 'UP1=PgUp' "$SETTINGS" 2>/dev/null || fail "not kept: $(cat "$SETTINGS" 2>&1)"
focus_main
keys ctrl+q
wait_ended "$EDITOR_PID" 2 || fail "the editor still runs 2 s after Ctrl+Q"

start_editor "$MAPS/a.map"
focus_main
keys Up Up Prior # level 0, 0, 1
paint_one_chip
wait_window '^Quarvel - .*a\.map \* $' 5
keys ctrl+s
wait_window '^Quarvel - .*a\.map$' 5
expect_painted "$MAPS/before.map" "$MAPS/a.map"
offset=$(changed_bytes "$MAPS/before.map" "$MAPS/a.map" | cut -d' ' -f1)
level=$(((offset - 48) / 1024))
[ "$level" -eq 1 ] || fail "the chip is on level $level, not 1"
keys ctrl+q
wait_ended "$EDITOR_PID" 2 || fail "the editor still runs 2 s after Ctrl+Q"
echo "ok"
