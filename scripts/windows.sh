#!/usr/bin/env bash
# Makes the folder for subjects on Windows, build-windows/cogbattery-windows-VERSION.zip,
# and tests it on this machine under Wine:
#
#   scripts/windows.sh [--study NAME] [--settings FILE] [--no-tests]
#
# --study NAME puts the study into the version (1.0.0+NAME), --settings FILE
# packs the study's cogbattery.ini (else the example, every key commented
# out), --no-tests only makes the zip.
#
# Installs what is missing; builds a static Qt for Windows once into
# ~/.cache/cogbattery (scripts/windows/build-qt.sh); cross-builds
# cogbattery.exe and cogbattery-collect.exe, static and stripped, with Qt's
# bundled libjpeg; packs them with ПРОЧТИТЕ.txt (UTF-8 with a byte-order mark,
# CR LF) and cogbattery.ini. Then, built for Windows and run under Wine on
# Xvfb: every test suite; the whole run's results file must equal the Linux one
# byte for byte, and cogbattery-collect.exe must write the Linux collector's
# table from the same folder of results files.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
study=""
settings="$top/packaging/cogbattery.ini"
tests=ON
while [ $# -gt 0 ]; do
    case "$1" in
        --study) study=$2; shift 2 ;;
        --settings) settings=$(realpath "$2"); shift 2 ;;
        --no-tests) tests=OFF; shift ;;
        *) echo "usage: scripts/windows.sh [--study NAME] [--settings FILE] [--no-tests]" >&2; exit 2 ;;
    esac
done
[ -f "$settings" ] || { echo "windows: no settings file $settings" >&2; exit 2; }
seconds() { date +%s; }
started=$(seconds)

"$top/scripts/install-deps.sh" g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth qt6-base-dev-tools \
    qt6-shadertools-dev dpkg-dev patch python3
qt=$("$top/scripts/windows/build-qt.sh")
qt_ready=$(seconds)

build="$top/build-windows"
cmake -S "$top" -B "$build" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$top/scripts/windows/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXE_LINKER_FLAGS="-static -s" \
    -DJPEG_LIBRARY="$qt/lib/libQt6BundledLibjpeg.a" -DJPEG_INCLUDE_DIR="$qt/include/QtJpeg" \
    -DBUILD_TESTING="$tests" -DCOGBATTERY_STUDY="$study" > /dev/null
# Every suite runs under Wine.
suites=()
if [ "$tests" = ON ]; then
    for source in "$top"/tests/*/tst_*.cpp; do
        suites+=("$(basename "$source" .cpp)")
    done
fi
cmake --build "$build" --target cogbattery cogbattery-collect "${suites[@]}"
built=$(seconds)

# The zip: the two programs, the text for subjects and the settings file.
version=$(sed -n 's/.*cogbatteryVersion\[\] = "\(.*\)";/\1/p' "$build/generated/engine/Version.h")
zip="$build/cogbattery-windows-$version.zip"
folder="$build/zip"
rm -rf "$folder" "$zip"
mkdir "$folder"
cp "$build/cogbattery.exe" "$build/cogbattery-collect.exe" "$folder/"
{ printf '\xEF\xBB\xBF'; sed 's/\r*$/\r/' "$top/packaging/windows/ПРОЧТИТЕ.txt"; } > "$folder/ПРОЧТИТЕ.txt"
sed 's/\r*$/\r/' "$settings" > "$folder/cogbattery.ini"
# Python's zip flags a name stored as UTF-8 as such, which Windows' own
# unpacking needs for ПРОЧТИТЕ.txt (Info-ZIP's zip does not).
(cd "$folder" && python3 -m zipfile -c "$zip" ./*)
# Nothing but Windows' own libraries beside the programs.
for program in "$folder"/*.exe; do
    imports=$(x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z')
    if echo "$imports" | grep -E '^(qt6|libgcc|libstdc|libwinpthread)'; then
        echo "windows: $(basename "$program") needs the libraries above beside it" >&2
        exit 1
    fi
done
echo "windows: $zip, $(du -k "$zip" | cut -f1) KB"
[ "$tests" = ON ] || { echo "windows: Qt in $((qt_ready - started)) s, programs in $((built - qt_ready)) s"; exit 0; }

# Wine in a prefix of its own, made once. Without a window manager, Wine's
# own desktop (1366 by 768) gives maximised windows their size. Times New Roman, which Windows
# has, is Liberation Serif here.
export WINEPREFIX="${COGBATTERY_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/cogbattery}/wine"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
work=$(mktemp -d)
# The upload test server's folder stands apart: run as root, Apache serves it
# as www-data, who may not enter the work folder.
upload_server=$(mktemp -d)
cleanup() {
    wineserver -k 2> /dev/null || true
    "$top/tests/servers/webdav-server.sh" stop "$upload_server"
    rm -rf "$work" "$upload_server"
}
trap cleanup EXIT
# Nothing under Wine may hang the test command: every start has a time limit.
timeout 300 wineboot -i > /dev/null 2>&1
timeout 120 wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Times New Roman' /t REG_SZ /d 'Liberation Serif' /f > /dev/null 2>&1
timeout 120 wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f > /dev/null 2>&1
timeout 120 wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1366x768 /f > /dev/null 2>&1

# The Linux side of both comparisons.
[ -f "$top/build/CMakeCache.txt" ] || cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$top/build" --target tst_whole_run cogbattery-collect > /dev/null
mkdir -m 700 "$work/runtime"
(cd "$top/build" && XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 \
    COGBATTERY_KEEP_RESULTS_FILE="$work/linux.txt" ./tst_whole_run > "$work/linux-run.log") \
    || { cat "$work/linux-run.log"; exit 1; }

# The suites, each started in the build folder as ctest starts them; the
# upload suite sends to the same WebDAV server as on Linux.
"$top/tests/servers/webdav-server.sh" start "$upload_server" > /dev/null
COGBATTERY_KEEP_RESULTS_FILE=$(winepath -w "$work/windows.txt") \
    COGBATTERY_UPLOAD_SERVER=$(winepath -w "$upload_server") \
    xvfb-run -a -s "-screen 0 1366x768x24" "$top/scripts/windows/run-suites.sh" "$build" "${suites[@]}"
# The battery from the zip, unpacked into a folder of its own, stays up with
# its first window until stopped: everything it needs is inside.
mkdir "$work/unpacked"
python3 -m zipfile -e "$zip" "$work/unpacked"
wineserver -k 2> /dev/null || true
wineserver -w
status=0
(cd "$work/unpacked" && xvfb-run -a -s "-screen 0 1366x768x24" timeout 30 wine cogbattery.exe) > /dev/null 2>&1 || status=$?
[ "$status" -eq 124 ] || { echo "windows: cogbattery.exe from the zip ended with status $status" >&2; exit 1; }
echo "windows: cogbattery.exe unpacked from the zip started and stayed up"

cmp "$work/linux.txt" "$work/windows.txt"
[ "$(grep -c $'\r$' "$work/windows.txt")" -eq 69 ] && [ "$(wc -l < "$work/windows.txt")" -eq 69 ]
echo "windows: the whole run's results file from Windows equals the Linux one byte for byte"

# One folder of results files, collected on both systems.
mkdir "$work/inbox"
corpus="$top/fuzz/corpus/collector_file"
cp "$work/linux.txt" "$work/inbox/Иванова_Анна_1.txt"
cp "$corpus/results_file" "$work/inbox/Иванов_Иван_1.txt"
cp "$corpus/marks_and_age_out_of_rule" "$work/inbox/Петров_Пётр_1.txt"
cp "$corpus/resaved_utf8" "$work/inbox/Сидорова_Ольга_1.txt"
cp "$corpus/line_missing" "$work/inbox/Кузнецов_Илья_1.txt"
collect_status() { local status=0; timeout 120 "$@" > /dev/null 2>&1 || status=$?; echo "$status"; }
linux_status=$(cd "$work" && collect_status "$top/build/cogbattery-collect" inbox -o linux.csv --codebook linux-codebook.csv)
windows_status=$(cd "$work" && collect_status wine "$build/cogbattery-collect.exe" inbox -o windows.csv --codebook windows-codebook.csv)
[ "$linux_status" = "$windows_status" ] || { echo "windows: collector exit status $windows_status, on Linux $linux_status" >&2; exit 1; }
cmp "$work/linux.csv" "$work/windows.csv"
cmp "$work/linux-codebook.csv" "$work/windows-codebook.csv"
echo "windows: cogbattery-collect.exe wrote the Linux collector's table and codebook"
echo "windows: Qt in $((qt_ready - started)) s, programs and suites in $((built - qt_ready)) s, Wine checks in $(($(seconds) - built)) s"
