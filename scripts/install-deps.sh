#!/usr/bin/env bash
# Installs the Debian or Ubuntu packages that building and running the battery
# need, and any further packages named as arguments, only those that are missing.
set -euo pipefail

# dpkg-dev and file build the Debian package; qt6-qpa-plugins is one of its
# dependencies that the build does not pull in; R and pandas run the README's
# readers of the collector's table in its tests.
packages=(g++ cmake ninja-build qt6-base-dev qt6-multimedia-dev libjpeg-dev fonts-liberation2
          dpkg-dev file qt6-qpa-plugins r-base-core python3-pandas "$@")
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
echo "Installing: ${missing[*]}"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
