#!/usr/bin/env bash
# The installed tree: cmake --install with DESTDIR into the build folder gives exactly the
# listed files; the desktop entry, AppStream data, map file type and manual pages pass their
# checks; the installed quarvel-cli works from its own place on a fresh home.
# usage: install_test.sh BUILD_DIR SOURCE_DIR APP_ID
set -euo pipefail
build=$1 source=$2 app_id=$3
root=$build/install-test
rm -rf "$root"
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
diff -u "$source/tests/installed-files.txt" <(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | sort) ||
    fail "the installed files differ from tests/installed-files.txt"

share=$root/usr/share
desktop=$share/applications/$app_id.desktop
metainfo=$share/metainfo/$app_id.metainfo.xml
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"

# The files name each other consistently.
grep -qx 'Exec=quarvel %f' "$desktop" || fail "Exec"
grep -qx 'Icon=quarvel' "$desktop" || fail "Icon"
grep -qx 'MimeType=application/x-quarvel-map;' "$desktop" || fail "MimeType"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" || fail "launchable"
grep -q "<id>$app_id</id>" "$metainfo" || fail "component id"
for element in description screenshot release; do
    grep -q "<$element[ >]" "$metainfo" || fail "the AppStream data has no $element"
done
grep -q 'mime-type type="application/x-quarvel-map"' "$share/mime/packages/$app_id.xml" || fail "mime type"

# Map files are known by their contents, whatever their names.
mime=$root/mime-db
mkdir -p "$mime/mime/packages"
cp /usr/share/mime/packages/freedesktop.org.xml "$share/mime/packages/$app_id.xml" "$mime/mime/packages/"
update-mime-database "$mime/mime" >/dev/null 2>&1
samples=$root/samples
mkdir -p "$samples"
cp "$share/quarvel/map/demo.map" "$samples/demo.map"
cp "$share/quarvel/map/demo.map" "$samples/no-extension"
echo 'a text file' > "$samples/linker.map"
printf 'Ver1.6+X rest' > "$samples/almost.map"
content_type() {
    XDG_DATA_HOME=$mime XDG_DATA_DIRS=$mime gio info -a standard::content-type "$1" |
        sed -n 's/^ *standard::content-type: //p'
}
for f in demo.map no-extension; do
    [ "$(content_type "$samples/$f")" = application/x-quarvel-map ] || fail "$f is not a map"
done
for f in linker.map almost.map; do
    [ "$(content_type "$samples/$f")" != application/x-quarvel-map ] || fail "$f taken for a map"
done

# The manual pages format without a warning; quarvel-cli's names every command.
for page in quarvel quarvel-cli; do
    warnings=$(LC_ALL=C.UTF-8 groff -man -ww -z -K utf8 "$share/man/man1/$page.1" 2>&1)
    [ -z "$warnings" ] || fail "$page.1: $warnings"
done
commands=$("$root/usr/bin/quarvel-cli" help | sed -n 's/^  quarvel-cli \([a-z]*\).*/\1/p' | sort)
[ -n "$commands" ] || fail "no commands listed by quarvel-cli help"
# The first word of each item of the COMMANDS section.
documented=$(awk '/^\.SH/ { on = ($2 == "COMMANDS") } on && item { print; item = 0 }
                  on && /^\.TP/ { item = 1 }' "$share/man/man1/quarvel-cli.1" |
             sed 's/\\f[BIRP]//g; s/^\.B[IR]* //; s/"//g; s/ .*//' | sort -u)
[ "$documented" = "$(printf '%s\n' $commands help | sort)" ] ||
    fail "quarvel-cli.1 documents [$(echo $documented)], quarvel-cli has [$(echo $commands) help]"
for c in $commands; do
    grep -qE "^    quarvel-cli $c\b" "$source/README.md" || fail "README lacks $c"
done

# Relocatable: the installed quarvel-cli, started from /, finds its data beside it and seeds
# an empty home.
home=$root/home
mkdir -p "$home"
(cd / && env -u XDG_DATA_HOME HOME="$home" "$root/usr/bin/quarvel-cli" render \
    "$share/quarvel/map/demo.map" "$root/demo.png") || fail "render without --chips"
[ -s "$root/demo.png" ] || fail "no picture"
[ "$(ls "$home/.local/share/quarvel/chip" | wc -l)" = 16 ] || fail "the chip set was not seeded"
[ -d "$home/.local/share/quarvel/dat/unpacked" ] || fail "no dat/unpacked"
echo "install test passed"
