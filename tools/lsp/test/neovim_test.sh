#!/usr/bin/env bash
# scenario_tool lsp in a real editor: Neovim, headless, with a HOME of its
# own, opens the built-in documents as Windows-1252, edits a row after an
# "À" and reads the server's diagnostic back at its line and column.
# Usage: neovim_test.sh NVIM SCENARIO_TOOL
set -eu
nvim=$1
tool=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/documents"
"$tool" write-documents "$work/documents" >/dev/null
HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share" \
XDG_STATE_HOME="$work/home/.local/state" SCENARIO_TOOL="$tool" DOCUMENTS="$work/documents" \
  timeout 90 "$nvim" --headless --clean -c "luafile $here/neovim_test.lua"
# The row was saved as Windows-1252: "À" is the one byte C0.
LC_ALL=C grep -q $'^\xC0 velocita,    6350,   110\r$' "$work/documents/Bresta_Vilcar_RX907-.txt"
echo "neovim test: the mark stood on its field after \"À\", and the document was saved as Windows-1252"
