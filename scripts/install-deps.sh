#!/usr/bin/env bash
# Installs the Debian or Ubuntu packages that building and running the battery
# need, and any further packages named as arguments, only those that are missing;
# then the data package validator of the tests, pinned, into tools/validate.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

# dpkg-dev and file build the Debian package; qt6-qpa-plugins is one of its
# dependencies that the build does not pull in; qt6-translations-l10n is where
# assets/translations/qtbase_ru.qm comes from, to renew it with Qt; nodejs runs
# the data package validator (Debian packs npm apart, other builds of nodejs
# bring it along); R and pandas run the README's readers of the collector's
# table in its tests; apache2 (mod_dav, mod_ssl) and openssl are the test
# server the results are uploaded to.
packages=(g++ cmake ninja-build qt6-base-dev qt6-multimedia-dev libjpeg-dev fonts-liberation2
          dpkg-dev file qt6-qpa-plugins qt6-translations-l10n nodejs r-base-core python3-pandas
          apache2 openssl "$@")
command -v npm > /dev/null || packages+=(npm)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    as_root=()
    [ "$(id -u)" -eq 0 ] || as_root=(sudo)
    echo "Installing: ${missing[*]}"
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Exactly the versions of package-lock.json, into the project's own folder.
validate="$top/tools/validate"
if ! cmp -s "$validate/package-lock.json" "$validate/node_modules/installed-lock.json"; then
    npm ci --prefix "$validate" --no-audit --no-fund --loglevel=error
    cp "$validate/package-lock.json" "$validate/node_modules/installed-lock.json"
fi
