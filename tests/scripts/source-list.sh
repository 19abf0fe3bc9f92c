#!/usr/bin/env bash
# The source list for the Qt source fetch, made from a fake /etc/apt holding
# every form a machine's archives come in: apt itself, reading the list made,
# would fetch the source indexes of exactly the machine's binary archives.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
etc=$work/etc
mkdir -p "$etc/sources.list.d" "$work/lists/partial"

cat > "$etc/sources.list" <<'EOF'
# deb file:/srv/commented-out stable main
deb file:/srv/one-line stable main contrib
  deb [signed-by=/usr/share/keyrings/mirror.gpg] file:/srv/with-options stable-updates main
deb-src file:/srv/sources-already stable main
EOF
echo 'deb file:/srv/list-d stable non-free' > "$etc/sources.list.d/extra.list"
echo 'deb file:/srv/disabled stable main' > "$etc/sources.list.d/old.list.disabled"
cat > "$etc/sources.list.d/archive.sources" <<'EOF'
Types: deb
URIs: file:/srv/deb822
Suites: stable stable-updates
Components: main

Types: deb-src
URIs: file:/srv/deb822-sources-only
Suites: stable
Components: main

types: deb deb-src
URIs: file:/srv/deb822-both
Suites: testing
Components: main
EOF

"$top/scripts/windows/source-list.sh" "$etc" "$work/out"
apt-get -o "Dir::Etc::sourcelist=$work/out/sources.list" -o "Dir::Etc::sourceparts=$work/out/sources.list.d" \
    -o "Dir::State::Lists=$work/lists" -o Debug::NoLocking=1 update --print-uris \
    | grep -o "^'[^']*'" | tr -d "'" | grep -v '/InRelease$' | sort > "$work/fetched"
sort > "$work/expected" <<'EOF'
file:/srv/one-line/dists/stable/main/source/Sources.xz
file:/srv/one-line/dists/stable/contrib/source/Sources.xz
file:/srv/with-options/dists/stable-updates/main/source/Sources.xz
file:/srv/list-d/dists/stable/non-free/source/Sources.xz
file:/srv/deb822/dists/stable/main/source/Sources.xz
file:/srv/deb822/dists/stable-updates/main/source/Sources.xz
file:/srv/deb822-both/dists/testing/main/source/Sources.xz
EOF
if ! diff -u "$work/expected" "$work/fetched"; then
    echo "source-list: the source list made from $etc is not the machine's archives as sources (above)" >&2
    exit 1
fi

# A machine with no binary archive at all is told so.
mkdir -p "$work/empty/sources.list.d"
if "$top/scripts/windows/source-list.sh" "$work/empty" "$work/out-empty" 2> "$work/said"; then
    echo "source-list: a machine without archives was not refused" >&2
    exit 1
fi
grep -q 'no deb entry' "$work/said"
echo "source-list: the machine's archives become the source list"
