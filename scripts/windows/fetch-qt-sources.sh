#!/usr/bin/env bash
# Unpacks Debian's source of qtbase and qtmultimedia, at the version of the
# host's Qt, into the folder given as $1. apt reads a source list and keeps
# its state in a folder of its own beside it: the machine's apt configuration
# is left as it is.
set -euo pipefail
destination=$1
apt_dir=$destination/apt
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"

# The same archive the machine installs from, as sources.
cat > "$apt_dir/sources.list" <<LIST
deb-src http://deb.debian.org/debian bookworm main
deb-src http://deb.debian.org/debian bookworm-updates main
deb-src http://deb.debian.org/debian-security bookworm-security main
LIST
apt_options=(-o "Dir::Etc::sourcelist=$apt_dir/sources.list" -o "Dir::Etc::sourceparts=-"
             -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
             -o "APT::Sandbox::User=root")
# The network may fail for a moment: each step is tried three times.
retry() { "$@" || { sleep 10; "$@"; } || { sleep 30; "$@"; }; }
retry apt-get "${apt_options[@]}" -qq update

host_version() { dpkg-query -W -f='${source:Version}' "$1"; }
cd "$destination"
for source in "qt6-base=$(host_version libqt6core6)" "qt6-multimedia=$(host_version libqt6multimedia6)"; do
    retry apt-get "${apt_options[@]}" -qq source "$source"
done
