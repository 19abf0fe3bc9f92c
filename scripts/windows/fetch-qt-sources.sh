#!/usr/bin/env bash
# Unpacks Debian's source of qtbase and qtmultimedia, at the version of the
# host's Qt, into the folder given as $1, from the machine's own archives read
# as sources (source-list.sh), so that a mirror or proxy set up on the machine
# is used. apt reads that list and keeps its state in a folder of its own
# beside it: the machine's apt configuration is left as it is.
set -euo pipefail
destination=$1
apt_dir=$destination/apt
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"

"$(dirname "$0")/source-list.sh" /etc/apt "$apt_dir"
apt_options=(-o "Dir::Etc::sourcelist=$apt_dir/sources.list" -o "Dir::Etc::sourceparts=$apt_dir/sources.list.d"
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
