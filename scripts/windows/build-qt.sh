#!/usr/bin/env bash
# Builds a static Qt for Windows (qtbase and qtmultimedia, at the host Qt's
# version, from Debian's source) into a cache folder outside the repository,
# once: the folder's name carries the version and a hash of the options, the
# toolchain and the patches, so a change to any of them builds a new Qt and an
# unchanged one is reused. Prints the Qt folder on standard output; what the
# build says goes to standard error.
set -euo pipefail
exec 3>&1 1>&2
here=$(cd "$(dirname "$0")" && pwd)
cache=${COGBATTERY_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/cogbattery}
version=$(dpkg-query -W -f='${source:Upstream-Version}' libqt6core6 | sed 's/+.*//')

# Only what the battery, the collector and their tests use: Core, Gui, Widgets,
# Concurrent, Network (Multimedia needs both), Test, the windows platform
# plugin, PNG and JPEG from Qt's bundled sources, no OpenGL; TLS by Windows'
# own Schannel, so that no OpenSSL library goes beside the programs. Debian's
# source lacks the Windows tablet and Direct2D headers.
qtbase_options=(
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DFEATURE_opengl=OFF -DINPUT_opengl=no -DFEATURE_opengl_dynamic=OFF
    -DFEATURE_direct2d=OFF -DFEATURE_tabletevent=OFF -DFEATURE_vulkan=OFF
    -DFEATURE_dbus=OFF -DFEATURE_sql=OFF -DFEATURE_printsupport=OFF -DFEATURE_xml=OFF
    -DFEATURE_zstd=OFF -DFEATURE_icu=OFF -DFEATURE_freetype=OFF -DFEATURE_fontconfig=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
    -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_doubleconversion=OFF
    -DFEATURE_jpeg=ON -DFEATURE_png=ON
    -DFEATURE_sspi=OFF -DFEATURE_schannel=ON -DFEATURE_openssl=OFF
)
# The Windows Media Foundation back end only.
qtmultimedia_options=(
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    -DFEATURE_spatialaudio=OFF -DFEATURE_ffmpeg=OFF -DFEATURE_gstreamer=OFF
)
key=$( (printf '%s\n' "${qtbase_options[@]}" "${qtmultimedia_options[@]}"
        cat "$here/mingw-w64.cmake" "$here"/patches/*.patch) | sha256sum | cut -c1-12)
prefix=$cache/qt-$version-mingw-w64-$key
mkdir -p "$cache"

# One build at a time; a run that finds the finished Qt only reads it.
exec 9>"$cache/qt-build.lock"
flock 9
if [ -f "$prefix/built" ]; then
    echo "$prefix" >&3
    exit 0
fi

# An interrupted build left nothing usable: start afresh.
work=$cache/work-$key
rm -rf "$prefix" "$work"
mkdir -p "$work"
"$here/fetch-qt-sources.sh" "$work"
qtbase=$(echo "$work"/qt6-base-*/)
qtmultimedia=$(echo "$work"/qt6-multimedia-*/)
for patch in "$here"/patches/qtbase-*.patch; do patch -d "$qtbase" -p1 -s < "$patch"; done
for patch in "$here"/patches/qtmultimedia-*.patch; do patch -d "$qtmultimedia" -p1 -s < "$patch"; done

# The host's Qt, at the same version, provides the tools (moc, rcc, qsb).
host_cmake="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake"
# The machine is shared: the build runs at low priority on two cores at most.
build() { nice -n 10 cmake --build "$1" -j2 && cmake --install "$1" >/dev/null; }
cmake -S "$qtbase" -B "$work/build-qtbase" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF \
    "${qtbase_options[@]}"
build "$work/build-qtbase"
# Qt Multimedia's shaders are compiled by the host's ShaderTools (qsb).
"$prefix/bin/qt-cmake" -S "$qtmultimedia" -B "$work/build-qtmultimedia" -G Ninja -Wno-dev \
    -DQt6ShaderTools_DIR="$host_cmake/Qt6ShaderTools" -DCMAKE_BUILD_TYPE=Release "${qtmultimedia_options[@]}"
build "$work/build-qtmultimedia"

rm -rf "$work"
touch "$prefix/built"
echo "$prefix" >&3
