#!/usr/bin/env bash
# Builds a study's Debian package as the README tells a study to (CMake's
# default generator, no tests, the study's name and settings file) into
# build-package/, and checks it without installing it, so that the machine is
# left as it was: lintian finds no error; the settings file is the
# configuration file /etc/cogbattery/cogbattery.ini; every dependency is
# installed here and every library the programs load is found; unpacked into
# a folder, both programs answer --version with the study's version, the
# battery starts offscreen from an empty folder, the desktop entry's launcher
# makes Documents and the collector reads a results file.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build-package"
"$top/scripts/install-deps.sh" lintian

cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DCOGBATTERY_STUDY=check \
    -DCOGBATTERY_STUDY_SETTINGS="$top/packaging/cogbattery.ini" > /dev/null
cmake --build "$build" --parallel 2 > /dev/null
rm -f "$build"/cogbattery_*.deb
(cd "$build" && cpack -G DEB > /dev/null)
package=$(echo "$build"/cogbattery_*.deb)
version=$(dpkg-deb -f "$package" Version)
echo "check-package: $(basename "$package"), $(du -k "$package" | cut -f1) KB"
[[ "$version" == *+check ]] || { echo "check-package: version $version lacks the study's name" >&2; exit 1; }

lintian --fail-on error "$package"
[ "$(dpkg-deb -I "$package" conffiles)" = /etc/cogbattery/cogbattery.ini ]

# What the package depends on is all here already: apt would install nothing.
depends=$(dpkg-deb -f "$package" Depends)
if ! apt-get satisfy --simulate "$depends" | grep -q ' 0 newly installed'; then
    echo "check-package: dependencies not installed here: $depends" >&2
    exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$package" "$work/root"
bin="$work/root/usr/bin"
if ldd "$bin/cogbattery" "$bin/cogbattery-collect" | grep 'not found'; then
    echo "check-package: libraries missing" >&2
    exit 1
fi
cmp "$work/root/etc/cogbattery/cogbattery.ini" "$top/packaging/cogbattery.ini"

# From an empty folder, as a subject's machine would start them.
cd "$work"
[ "$("$bin/cogbattery" --version)" = "cogbattery $version" ]
[ "$("$bin/cogbattery-collect" --version)" = "cogbattery-collect $version" ]
mkdir home inbox empty runtime
chmod 700 runtime
# Started offscreen from an empty folder, the battery stays up with its first
# window until stopped.
status=0
(cd empty && XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen timeout 3 "$bin/cogbattery") || status=$?
[ "$status" -eq 124 ]
# The desktop entry's launcher starts the program in Documents, made if missing.
[ "$(HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" "$bin/cogbattery-in-documents" --version)" = "cogbattery $version" ]
[ -d home/Documents ]
cp "$top/fuzz/corpus/collector_file/results_file" "inbox/Иванов_Иван_1.txt"
"$bin/cogbattery-collect" inbox -o results.csv
[ "$(wc -l < results.csv)" -eq 2 ]
grep -q '^file,' results.csv
echo "check-package: lintian without errors; dependencies installed here; both programs answer $version unpacked; the battery started; the collector read a results file"
