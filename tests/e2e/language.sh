#!/usr/bin/env bash
# The language of the editor's texts comes from the desktop: an English locale shows the
# English windows and menus, a Japanese or C one today's Japanese (also with LANGUAGE listing
# English); QUARVEL_LANGUAGE and the setting Language force either.
. "$(dirname "$0")/desktop.sh"

# True when a window titled exactly $1 is shown, read from _NET_WM_NAME (UTF-8) by wmctrl:
# without the locale installed, Qt writes the old WM_NAME that xdotool reads in Latin-1.
titled() { wmctrl -l | sed 's/^[^ ]* *[^ ]* *[^ ]* //' | grep -qxF "$1"; }

# Starts the editor with the environment given, waits for the info panel titled $1, opens the
# command palette with its key and waits for its title $2, closes it and ends the editor with
# the File menu's last item (&X in both languages).
expect_titles() {
    local panel=$1 palette=$2
    shift 2
    env "$@" "$QUARVEL" >>"$E2E_DIR/editor.log" 2>&1 &
    EDITOR_PID=$!
    E2E_PIDS+=("$EDITOR_PID")
    wait_for 10 titled "$panel" || fail "no window '$panel' with $*; windows: $(wmctrl -l)"
    focus_main
    keys ctrl+shift+p
    wait_for 5 titled "$palette" || fail "no window '$palette' with $*; windows: $(wmctrl -l)"
    keys Escape
    wait_for 5 eval '! titled "$palette"' || fail "the palette '$palette' stays open"
    quit_with_menu
}

expect_titles Information 'Find Command' LANG=en_US.UTF-8
expect_titles Information 'Find Command' LANG=ja_JP.UTF-8 LC_ALL=en_GB.UTF-8
expect_titles 情報 コマンド検索 LANG=ja_JP.UTF-8
expect_titles 情報 コマンド検索 LANG=C LANGUAGE=en_US:en
expect_titles 情報 コマンド検索 LANG=en_US.UTF-8 QUARVEL_LANGUAGE=ja
expect_titles Information 'Find Command' LANG=C QUARVEL_LANGUAGE=en

mkdir -p "$XDG_CONFIG_HOME/quarvel"
printf '[General]\nLanguage=en\n' >"$XDG_CONFIG_HOME/quarvel/quarvel.ini"
expect_titles Information 'Find Command' LANG=ja_JP.UTF-8
echo "ok"
