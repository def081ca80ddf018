# Sourced by the build scripts: compile through ccache when it is installed. `launcher` holds
# the CMake option for it. The cache keys on paths relative to the source folder and not on
# the build folder, so that a clone elsewhere (a CI checkout) reuses what another compiled.
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
    export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
fi
