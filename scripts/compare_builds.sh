#!/usr/bin/env bash
# Writes a manifest of what one build produces, so that two builds (one from
# before a change, one after) can be compared with diff: the compiled files of
# the built-in scenario, of the generated routes and of every compile and check
# input of the fuzz corpus and regressions, with exit statuses and the output of
# scenario_tool check in its three formats.
#
#   scripts/compare_builds.sh BIN MANIFEST     BIN: a build's bin/ folder
#   diff before.txt after.txt                  empty: byte-identical
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
bin=$(cd "$1" && pwd)
manifest=$2
# A fixed folder, so that paths printed by the programs are the same for both builds.
work=${COMPARE_WORK:-/tmp/scenario-compare}
rm -rf "$work" && mkdir -p "$work"
: > "$manifest"

sums() { (cd "$1" && find . -type f | LC_ALL=C sort | xargs -r sha256sum); }

# The built-in scenario, run from a folder that holds only the program.
mkdir "$work/builtin" && cp "$bin/scenario_compiler" "$work/builtin/"
(cd "$work/builtin" && ./scenario_compiler >/dev/null 2>&1; echo "builtin status $?") >> "$manifest"
rm "$work/builtin/scenario_compiler"
sums "$work/builtin" | sed 's/^/builtin /' >> "$manifest"

# One pair of documents: compile, then check in each format.
pair() {
  local name=$1 dir=$work/case
  (
    cd "$dir"
    set +e
    "$bin/scenario_tool" compile L_linea.txt L_T-.txt --out out --route L --train-code T > compile.out 2> compile.err
    echo "$name compile status $?"
    for format in text json sarif; do
      "$bin/scenario_tool" check L_linea.txt L_T-.txt --route L --train-code T --format $format > check.$format 2>&1
      echo "$name check $format status $?"
    done
  ) >> "$manifest"
  sums "$dir" | grep -v -e ' ./L_linea.txt$' -e ' ./L_T-.txt$' | sed "s|^|$name |" >> "$manifest"
}

for length in 10000 100000 1000000; do
  rm -rf "$work/case" && mkdir "$work/case"
  "$bin/make_route" "$length" "$work/case/L_linea.txt" "$work/case/L_T-.txt" >/dev/null
  pair "route_$length"
done

# Corpus inputs: the line description, a NUL byte, the train description.
for folder in "$here"/fuzz/corpus/compile "$here"/fuzz/corpus/check "$here"/fuzz/regressions/compile "$here"/fuzz/regressions/check; do
  [ -d "$folder" ] || continue
  for input in "$folder"/*; do
    rm -rf "$work/case" && mkdir "$work/case"
    python3 - "$input" "$work/case" <<'PY'
import sys
data = open(sys.argv[1], 'rb').read()
line, sep, train = data.partition(b'\0')
open(sys.argv[2] + '/L_linea.txt', 'wb').write(line)
open(sys.argv[2] + '/L_T-.txt', 'wb').write(train)
PY
    pair "$(basename "$folder")/$(basename "$input")"
  done
done
rm -rf "$work"
echo "compare: $(wc -l < "$manifest") lines in $manifest"
