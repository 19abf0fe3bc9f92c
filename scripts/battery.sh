#!/usr/bin/env bash
# Builds the battery and starts it in the repository root, where sound/ lies.
# The results file is written there.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/build.sh"
cd "$top"
exec "$top/build/cogbattery"
