#!/usr/bin/env bash
# Builds the Debian package from build/ and checks it on this machine: it
# installs with apt-get, both installed programs answer --version, the battery
# starts offscreen from an empty folder, the desktop entry's launcher makes
# Documents, the installed collector reads a results file, and the package is
# removed again. Runs as root, or uses sudo.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build"
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
apt() { "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -y -qq "$@"; }

if dpkg-query -W -f='${Status}' cogbattery 2>/dev/null | grep -q "install ok installed"; then
    echo "check-package: cogbattery is installed here already; remove it first" >&2
    exit 1
fi

cmake --build "$build" > /dev/null
rm -f "$build"/cogbattery_*.deb
(cd "$build" && cpack -G DEB > /dev/null)
package=$(echo "$build"/cogbattery_*.deb)
version=$(dpkg-deb -f "$package" Version)
echo "check-package: $(basename "$package"), $(du -k "$package" | cut -f1) KB"

work=$(mktemp -d)
cleanup() {
    apt remove cogbattery > /dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
apt install --no-install-recommends "$package" > /dev/null

# From an empty folder, as a subject's machine would start them.
cd "$work"
[ "$(/usr/bin/cogbattery --version)" = "cogbattery $version" ]
[ "$(/usr/bin/cogbattery-collect --version)" = "cogbattery-collect $version" ]
mkdir home inbox empty runtime
chmod 700 runtime
# Started offscreen from an empty folder, the battery stays up with its first
# window until stopped.
status=0
(cd empty && XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen timeout 3 /usr/bin/cogbattery) || status=$?
[ "$status" -eq 124 ]
# The desktop entry's launcher starts the program in Documents, made if missing.
[ "$(HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" /usr/bin/cogbattery-in-documents --version)" = "cogbattery $version" ]
[ -d home/Documents ]
cp "$top/fuzz/corpus/collector_file/results_file" "inbox/Иванов_Иван_1.txt"
/usr/bin/cogbattery-collect inbox -o results.csv
[ "$(wc -l < results.csv)" -eq 2 ]
grep -q '^file,' results.csv
echo "check-package: installed; both programs answer $version; the battery started; the collector read a results file; removed"
