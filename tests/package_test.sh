#!/usr/bin/env bash
# The Debian package: cpack -G DEB in the build folder makes quarvel_<version>_<arch>.deb that
# holds exactly the installed tree under /usr and depends on the libraries the programs link.
# usage: package_test.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$1 source=$2 version=$3
fail() { echo "FAIL: $*" >&2; exit 1; }

arch=$(dpkg --print-architecture)
deb=$build/package/quarvel_${version}_$arch.deb
rm -f "$deb"
(cd "$build" && cpack -G DEB >/dev/null) || fail "cpack"
[ -f "$deb" ] || fail "no $deb"

# Contents: the listed files, nothing else (folders aside).
listing=$(dpkg-deb -c "$deb")
diff -u "$source/tests/installed-files.txt" \
    <(echo "$listing" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./||' | sort) ||
    fail "the package's files differ from tests/installed-files.txt"
for program in quarvel quarvel-cli; do
    echo "$listing" | grep -qE "^-rwxr-xr-x root/root .* \./usr/bin/$program$" ||
        fail "bin/$program is not an executable owned by root"
done

# Control data.
info=$(dpkg-deb -I "$deb")
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = quarvel ] || fail "Package"
[ "$(field Version)" = "$version" ] || fail "Version"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture"
[ "$(field Section)" = graphics ] || fail "Section"
[ -n "$(field Maintainer)" ] || fail "Maintainer"
[ -n "$(field Description)" ] || fail "Description"
depends=$(field Depends)
names=$(echo "$depends" | tr , '\n' | sed 's/^ *//; s/ .*//')
for lib in libc6 libstdc++6 libqt6widgets6 libqt6gui6 libqt6core6 libpng16-16 libdeflate0; do
    echo "$names" | grep -qxF "$lib" || fail "Depends lacks $lib: $depends"
done
echo "$info" | grep -q 'Installed-Size:' || fail "Installed-Size"
echo "package test passed: $(basename "$deb")"
echo "Depends: $depends"
