#!/usr/bin/env bash
# Installs the npm packages of the project, each folder's exactly as its
# package-lock.json pins them, when they are missing or older than the lock
# file: the preview page and its browser test (tools/serve/preview), the
# language server's client test (tools/lsp/test), the VS Code extension
# (editors/vscode) and Microsoft's SARIF validator for the test of check's
# SARIF (tools/check/sarif_validator). Never downloads a browser: the browser
# test uses Debian's Chromium. No package's own install scripts are run; the one
# step the validator's would take, making its program executable, is taken here.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
for dir in "$here/tools/serve/preview" "$here/tools/lsp/test" "$here/editors/vscode" "$here/tools/check/sarif_validator"; do
  stamp="$dir/node_modules/.package-lock.json"
  if [ -f "$stamp" ] && [ "$stamp" -nt "$dir/package-lock.json" ]; then continue; fi
  (cd "$dir" && npm ci --no-audit --no-fund --ignore-scripts)
done
validator="$here/tools/check/sarif_validator/node_modules/@microsoft/sarif-multitool-linux/Sarif.Multitool"
if [ -f "$validator" ] && [ ! -x "$validator" ]; then chmod u+x "$validator"; fi
