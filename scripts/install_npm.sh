#!/usr/bin/env bash
# Installs the npm packages of the preview page and its browser test, of the
# language server's client test and of the VS Code extension, exactly as each
# folder's package-lock.json pins them, when they are missing or older than
# the lock file. Never downloads a browser: the test uses Debian's Chromium.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
for dir in "$here/tools/serve/preview" "$here/tools/lsp/test" "$here/editors/vscode"; do
  stamp="$dir/node_modules/.package-lock.json"
  if [ -f "$stamp" ] && [ "$stamp" -nt "$dir/package-lock.json" ]; then continue; fi
  (cd "$dir" && npm ci --no-audit --no-fund --ignore-scripts)
done
