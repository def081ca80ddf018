#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Quarvel need, when missing;
# packages named as arguments are installed as well.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev libpng-dev
          libdeflate-dev qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev
          # lupdate and lrelease, and their CMake functions (the English texts)
          qt6-l10n-tools qt6-tools-dev
          fonts-ipafont-gothic
          # faster rebuilds, and the format check of the tests
          ccache clang-format
          # the fuzzers
          clang libclang-rt-14-dev
          # the checks of the install and the Debian package
          desktop-file-utils appstream dpkg-dev shared-mime-info libglib2.0-bin groff-base
          # the journeys on a real desktop: an X server, a window manager, input and window tools
          xvfb openbox xdotool wmctrl x11-utils
          "$@")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
