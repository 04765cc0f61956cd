#!/usr/bin/env bash
# Packages the VS Code extension of editors/vscode as OUT_DIR/scenario-tool-VERSION.vsix
# with its npm packages as the lock file pins them, and lists the package's files.
# Usage: package_vscode.sh OUT_DIR
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "$1" && cd "$1" && pwd)
bash "$here/scripts/install_npm.sh"
cd "$here/editors/vscode"
version=$(node -p "require('./package.json').version")
vsix="$out/scenario-tool-$version.vsix"
npx --no-install vsce package --skip-license --allow-missing-repository --out "$vsix" >/dev/null
echo "$vsix:"
unzip -Z1 "$vsix"
