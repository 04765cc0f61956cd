#!/usr/bin/env bash
# Reproduces the performance figures of docs/developing.md, side by side on this
# machine: hyperfine timings of the compiler against a plain cp of the files
# it writes, peak resident memory from /usr/bin/time -v, and the cost of
# compiling generated routes of 10,000, 100,000 and 1,000,000 m; and, given an
# earlier build, the longest compile of both builds side by side, with their
# page faults and instructions, which move little on a loaded machine.
#
#   scripts/measure.sh [BUILD [EARLIER]]
#     BUILD: a Release build (default build-release) holding scenario_compiler,
#            scenario_tool and make_route
#     EARLIER: the build of an earlier commit to compare the tool's compile
#            with: a build folder, or a commit, which is built (Release, tools
#            only) in build-at-COMMIT/ beside BUILD
# RUNS (default 30) sets the timed runs of each command.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build-release}
bin=$build/bin
runs=${RUNS:-30}
earlier=${2:-}

# The earlier build's bin/ folder; a commit is built first, from its own files.
earlier_bin() {
  if [ -d "$1" ]; then echo "$(cd "$1" && pwd)/bin"; return; fi
  local commit at
  commit=$(git -C "$here" rev-parse --short "$1^{commit}") || { echo "measure: $1 is neither a build nor a commit" >&2; exit 1; }
  at=$(dirname "$build")/build-at-$commit
  if [ ! -x "$at/bin/scenario_tool" ]; then
    echo "== building $commit in $at" >&2
    rm -rf "$at/source" && mkdir -p "$at/source"
    git -C "$here" archive "$commit" | tar -x -C "$at/source"
    # The page's packages, where this tree and the earlier one keep them (the
    # preview moved into the serve room).
    local modules
    for modules in "$here"/tools/preview/node_modules "$here"/tools/serve/preview/node_modules; do
      [ -d "$modules" ] || continue
      for page in "$at/source/tools/preview" "$at/source/tools/serve/preview"; do
        if [ -d "$page" ] && [ ! -d "$page/node_modules" ]; then cp -r "$modules" "$page/"; fi
      done
    done
    local launcher=()
    if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
    cmake -S "$at/source" -B "$at" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTS=OFF "${launcher[@]}" >/dev/null
    cmake --build "$at" -j "${JOBS:-2}" --target scenario_tool >/dev/null
  fi
  echo "$at/bin"
}

for program in scenario_compiler scenario_tool make_route; do
  [ -x "$bin/$program" ] || { echo "measure: $bin/$program is missing; run make measure" >&2; exit 1; }
done
for tool in hyperfine /usr/bin/time perf; do
  command -v "$tool" >/dev/null || { echo "measure: $tool is missing (packages/bench.txt: make measure installs it)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Median time in milliseconds of result n (0, 1, ...) of a hyperfine JSON
# export. The median, not the mean: on a machine shared with other work a few
# runs that waited for a core would otherwise decide the figure.
median_ms() {
  grep -o '"median": *[0-9.eE+-]*' "$1" | sed -n "$(($2 + 1))p" | awk '{ printf "%.2f", $2 * 1000 }'
}
# Peak resident memory in MB of one run of the command.
peak_mb() {
  /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F: '/Maximum resident set size/ { printf "%.1f", $2 / 1024 }'
}
# Page faults of one run: the mean of 10 runs of perf stat (a software event,
# counted even where the processor's counters are not available).
faults() {
  perf stat -x, -e page-faults -r 10 "$@" 2>&1 >/dev/null | awk -F, '/page-faults/ { printf "%d", $1 }'
}
# Instructions of one run: perf stat where the processor's counters can be
# read, else valgrind's callgrind (the same count, the program run once).
instructions() {
  local n
  n=$(perf stat -x, -e instructions "$@" 2>&1 >/dev/null | awk -F, '/instructions/ { print $1 }')
  if [[ "$n" =~ ^[0-9]+$ ]]; then echo "$n"; return; fi
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null |
    awk '/Collected :/ { print $NF }'
}
millions() { awk -v n="$1" 'BEGIN { printf "%.1f M", n / 1e6 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
timing() {
  hyperfine -N --warmup 5 --runs "$runs" --style basic "$@"
}

echo "== machine: $(nproc) cores, $(uname -r); $(hyperfine --version); cp from $(cp --version | head -1)"

# --- 1. The main program run, in its own folder, against cp of its six files
run=$work/run
six=(Bresta_Vilcar_RX907_note.txt Bresta_Vilcar_RX907_rallentamenti.txt Bresta_Vilcar_RX907_scheda_treno.txt
     Bresta_Vilcar_linea.dat Bresta_Vilcar_RX907.sim Bresta_Vilcar_RX907.dat)
mkdir -p "$run" "$work/six"
cp "$bin/scenario_compiler" "$run/"
"$run/scenario_compiler" >/dev/null
for f in "${six[@]}"; do mv "$run/$f" "$work/six/"; done
sources=("${six[@]/#/$work/six/}")
# Each timed run starts from a folder that holds only the program, and each
# cp from an empty folder.
clean_run="rm -f ${six[*]/#/$run/}"
empty_copy="sh -c 'rm -rf $work/copy && mkdir $work/copy'"
timing --export-json "$work/builtin.json" \
  --prepare "$clean_run" "$run/scenario_compiler" \
  --prepare "$empty_copy" "cp ${sources[*]} $work/copy/"
builtin_ms=$(median_ms "$work/builtin.json" 0)
cp6_ms=$(median_ms "$work/builtin.json" 1)
$clean_run
builtin_mb=$(peak_mb "$run/scenario_compiler")

# --- 2. scenario_tool compile of generated routes; the longest against cp of its three files
declare -A route_ms
for length in 10000 100000 1000000; do
  "$bin/make_route" "$length" "$work/line_$length.txt" "$work/train_$length.txt"
done
# The generated documents' names give no route and train: the built-in ones are named.
names="--route Bresta_Vilcar --train-code RX907"
compile() { echo "$bin/scenario_tool compile $work/line_$1.txt $work/train_$1.txt --out $work/out_$1 $names"; }
"$bin/scenario_tool" compile "$work/line_1000000.txt" "$work/train_1000000.txt" --out "$work/compiled" $names
three=(Bresta_Vilcar_linea.dat Bresta_Vilcar_RX907.sim Bresta_Vilcar_RX907.dat)
longest_sources=("${three[@]/#/$work/compiled/}")
timing --export-json "$work/longest.json" \
  --prepare "rm -rf $work/out_1000000" "$(compile 1000000)" \
  --prepare "$empty_copy" "cp ${longest_sources[*]} $work/copy/"
longest_ms=$(median_ms "$work/longest.json" 0)
cp3_ms=$(median_ms "$work/longest.json" 1)
rm -rf "$work/out_1000000"
longest_mb=$(peak_mb $(compile 1000000))

timing --export-json "$work/growth.json" \
  --prepare "rm -rf $work/out_10000" "$(compile 10000)" \
  --prepare "rm -rf $work/out_100000" "$(compile 100000)" \
  --prepare "rm -rf $work/out_1000000" "$(compile 1000000)"
i=0
for length in 10000 100000 1000000; do
  route_ms[$length]=$(median_ms "$work/growth.json" $i)
  i=$((i + 1))
done

cat <<EOF

| Measure (median of $runs runs) | Figure | Target |
|---|---|---|
| scenario_compiler run (built-in scenario) | $builtin_ms ms | |
| cp of its six files into an empty folder | $cp6_ms ms | |
| ratio | $(ratio "$builtin_ms" "$cp6_ms") | at most 2 |
| scenario_tool compile, 1,000,000 m route | $longest_ms ms | |
| cp of its three compiled files into an empty folder | $cp3_ms ms | |
| ratio | $(ratio "$longest_ms" "$cp3_ms") | at most 1.3 |
| peak resident memory, built-in run | $builtin_mb MB | at most 16 MB |
| peak resident memory, 1,000,000 m compile | $longest_mb MB | at most 24 MB |

| Route length | scenario_tool compile | added per km over the length before |
|---|---|---|
EOF
previous=
for length in 10000 100000 1000000; do
  added=
  if [ -n "$previous" ]; then
    added=$(awk -v t="${route_ms[$length]}" -v u="${route_ms[$previous]}" -v l="$length" -v m="$previous" \
      'BEGIN { printf "%.1f us", (t - u) * 1000 / ((l - m) / 1000) }')
  fi
  echo "| $length m | ${route_ms[$length]} ms | $added |"
  previous=$length
done

[ -n "$earlier" ] || exit 0

# --- 3. The longest compile against the same compile by an earlier build
command -v valgrind >/dev/null || { echo "measure: valgrind is missing (packages/bench.txt: make measure installs it)" >&2; exit 1; }
old_bin=$(earlier_bin "$earlier")
old_compile="$old_bin/scenario_tool compile $work/line_1000000.txt $work/train_1000000.txt --out $work/old_1000000 $names"
timing --export-json "$work/earlier.json" \
  --prepare "rm -rf $work/out_1000000" "$(compile 1000000)" \
  --prepare "rm -rf $work/old_1000000" "$old_compile" \
  --prepare "$empty_copy" "cp ${longest_sources[*]} $work/copy/"
now_ms=$(median_ms "$work/earlier.json" 0)
old_ms=$(median_ms "$work/earlier.json" 1)
cp_ms=$(median_ms "$work/earlier.json" 2)
# Counted as an author's compile runs: into a fresh out folder each time.
fresh() { rm -rf "$work/out_1000000" "$work/old_1000000"; }
fresh; now_faults=$(faults $(compile 1000000))
fresh; old_faults=$(faults $old_compile)
cp_faults=$(faults cp "${longest_sources[@]}" "$work/copy/")
fresh; now_ins=$(instructions $(compile 1000000))
fresh; old_ins=$(instructions $old_compile)
fresh; now_mb=$(peak_mb $(compile 1000000))
fresh; old_mb=$(peak_mb $old_compile)
fresh

echo
echo "scenario_tool compile of the 1,000,000 m route, this build against $earlier ($old_bin),"
echo "side by side in one run, and cp of its three compiled files into an empty folder"
cat <<EOF

| Measure | this build | earlier build | ratio | cp |
|---|---|---|---|---|
| wall time, median of $runs runs | $now_ms ms | $old_ms ms | $(ratio "$now_ms" "$old_ms") | $cp_ms ms |
| against cp | $(ratio "$now_ms" "$cp_ms") | $(ratio "$old_ms" "$cp_ms") | | 1 |
| page faults (mean of 10 runs) | $now_faults | $old_faults | $(ratio "$now_faults" "$old_faults") | $cp_faults |
| instructions | $(millions "$now_ins") | $(millions "$old_ins") | $(ratio "$now_ins" "$old_ins") | |
| peak resident memory | $now_mb MB | $old_mb MB | | |
EOF
