#!/usr/bin/env bash
# Installs the npm packages of the preview page and its browser test, exactly
# as tools/serve/preview/package-lock.json pins them, when they are missing or older
# than the lock file. Never downloads a browser: the test uses Debian's Chromium.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
dir="$here/tools/serve/preview"
stamp="$dir/node_modules/.package-lock.json"
if [ -f "$stamp" ] && [ "$stamp" -nt "$dir/package-lock.json" ]; then exit 0; fi
cd "$dir"
npm ci --no-audit --no-fund --ignore-scripts
