#!/usr/bin/env bash
# Writes scenario_tool's manual page with help2man from the tool's own help:
#   manual_page.sh TOOL INCLUDE OUTPUT     the page, with the sections of INCLUDE
#   manual_page.sh --synopsis TOOL         each command's usage line and purpose
# help2man runs this script again in place of the tool (MANUAL_PAGE_TOOL set):
# --version is then the tool's own, and --help the tool's help followed by the
# help of each of its commands, laid out so that help2man gives a synopsis line
# and a subsection per command.
set -euo pipefail

# The commands, in the order the tool's help lists them.
commands_of() {
  local listed
  listed=$("$1" --help | awk '/^(Subcommands|Commands):$/ { listing = 1; next }
                             listing && /^  [^ ]/ { print $1 }
                             listing && /^$/ { listing = 0 }')
  if [ -z "$listed" ]; then
    echo "manual_page.sh: the help of $1 lists no command" >&2
    return 1
  fi
  printf '%s\n' "$listed"
}

help_for_help2man() {
  local tool=$1 main_help command help
  main_help=$("$tool" --help)
  commands=$(commands_of "$tool")
  # The purpose, the usage lines, the options; then a section of commands.
  printf '%s\n' "$main_help" | sed -n '1p; /^Usage: /p'
  for command in $commands; do
    "$tool" "$command" --help | sed -n 's/^Usage: /  or:  /p'
  done
  printf '%s\n' "$main_help" | sed -n '/^Options:$/,/^$/p'
  echo '*Commands*'
  for command in $commands; do
    help=$("$tool" "$command" --help)
    echo "$command:"
    printf '%s\n' "$help" | sed -n '1s/^/  /p'
    echo
    # Positionals and options of the command, without the help flag every command has.
    printf '%s\n' "$help" | sed '1,/^Usage: /d; /^  -h,--help /d; /^[A-Z][a-z]*:$/d; /^$/d'
    echo
  done
}

if [ -n "${MANUAL_PAGE_TOOL:-}" ]; then
  case "${1:-}" in
    --help) help_for_help2man "$MANUAL_PAGE_TOOL" ;;
    *) exec "$MANUAL_PAGE_TOOL" "$@" ;;
  esac
  exit 0
fi

if [ "${1:-}" = "--synopsis" ]; then
  tool=$2
  commands=$(commands_of "$tool")
  for command in $commands; do
    help=$("$tool" "$command" --help)
    printf '%s\n' "$help" | sed -n 's/^Usage: /    /p'
    printf '%s\n' "$help" | sed -n '1s/^/        /p'
  done
  exit 0
fi

tool=$1 include=$2 output=$3
commands_of "$tool" >/dev/null
# The page's one-line name is the first line of the tool's help.
purpose=$("$tool" --help | head -1)
purpose="$(printf '%s' "${purpose:0:1}" | tr '[:upper:]' '[:lower:]')${purpose:1}"
MANUAL_PAGE_TOOL=$tool help2man --no-info --name="$purpose" --include="$include" \
  --output="$output" "$0"
