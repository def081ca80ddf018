# Sourced by the build scripts: compile through ccache when it is installed. `launcher` holds
# the CMake option for it. The cache keys on paths relative to the source folder and not on
# the build folder, so that a clone elsewhere (a CI checkout) reuses what another compiled.
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
    export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
    # The test programs and the windows compile with precompiled headers (CMake's -include of
    # the header beside its .gch); ccache caches such units only when told that the macros
    # and __TIME__ inside a precompiled header do not matter.
    export CCACHE_SLOPPINESS=${CCACHE_SLOPPINESS:-pch_defines,time_macros}
fi
