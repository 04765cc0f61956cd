#!/usr/bin/env bash
# Builds the Windows programs and checks them under Wine in a virtual X display:
# the Win32 platform checks, a complete run whose six files must equal the
# Linux build's byte for byte, a picture of the wait window, an errore box
# closed by a simulated key press, and the authoring tool: the tool's own
# tests (the tables of write-documents, compile, check, dump, plot and the
# raw-socket tests of serve) run against scenario_tool.exe, explain and help
# give the Linux tool's bytes, and serve answers on 127.0.0.1 and ends with
# status 0 on Ctrl+C (SIGINT to its Wine process, which Wine turns into a
# CTRL_C_EVENT for the console control handler). Nothing waits for a person:
# every step is bounded in time. Ends with the line "N passed, M failed".
set -u
cd "$(dirname "$0")/.."
root=$(pwd)

work=$(mktemp -d /tmp/test-windows-XXXXXX)
source scripts/wine_session.sh
source scripts/test_tally.sh

# The six files a complete run leaves beside the program.
outputs=(
  Bresta_Vilcar_RX907_note.txt
  Bresta_Vilcar_RX907_rallentamenti.txt
  Bresta_Vilcar_RX907_scheda_treno.txt
  Bresta_Vilcar_linea.dat
  Bresta_Vilcar_RX907.sim
  Bresta_Vilcar_RX907.dat
)
expected_listing() { printf '%s\n' "$1" "${outputs[@]}" | sort; }

# --- builds ------------------------------------------------------------------
if timeout 1200 make windows >"$work/make-windows.log" 2>&1 && [ -f build-windows/bin/scenario_compiler.exe ]; then
  pass "make windows builds build-windows/bin/scenario_compiler.exe"
else
  tail -30 "$work/make-windows.log"
  fail "make windows"
  finish
fi
if x86_64-w64-mingw32-objdump -p build-windows/bin/scenario_compiler.exe >"$work/pe.txt" 2>&1 &&
   grep -q 'Subsystem.*Windows GUI' "$work/pe.txt" &&
   ! grep -i 'DLL Name:' "$work/pe.txt" | grep -qiv -E 'kernel32|user32|gdi32|msvcrt|advapi32|shell32|ws2_32'; then
  pass "scenario_compiler.exe is a GUI program needing only system DLLs"
else
  grep -E 'Subsystem|DLL Name' "$work/pe.txt"
  fail "scenario_compiler.exe subsystem or DLLs"
fi
if timeout 600 cmake --build build-windows -j 2 --target wait_window_hold errore_box platform_win32_test \
     >"$work/helpers.log" 2>&1; then
  pass "test helper programs build"
else
  tail -30 "$work/helpers.log"
  fail "test helper programs build"
  finish
fi
helpers="$root/build-windows/test-bin"
if timeout 1200 make build >"$work/make-build.log" 2>&1 && [ -x build/bin/scenario_compiler ]; then
  pass "make build builds the Linux program"
else
  tail -30 "$work/make-build.log"
  fail "make build"
fi

# --- virtual display and Wine ------------------------------------------------
if wine_session_start "$work"; then
  pass "Wine prefix is ready on display $DISPLAY"
else
  fail "Xvfb and the Wine prefix"
  finish
fi

# --- Win32 platform services ----------------------------------------------------
if timeout 120 wine "$helpers/platform_win32_test.exe" >"$work/platform.log" 2>&1; then
  pass "Win32 platform checks ($(tail -1 "$work/platform.log"))"
else
  sed 's/^/    /' "$work/platform.log"
  fail "Win32 platform checks"
fi

# --- a complete run on each system --------------------------------------------------
mkdir -p "$work/linux" "$work/windows"
cp build/bin/scenario_compiler "$work/linux/" 2>/dev/null
(cd "$work/linux" && timeout 300 ./scenario_compiler >"$work/linux.log" 2>&1)
linux_status=$?
if [ "$linux_status" -eq 0 ] && [ "$(ls -A "$work/linux")" = "$(expected_listing scenario_compiler)" ]; then
  pass "Linux run ends with status 0 leaving the six files"
else
  cat "$work/linux.log"
  fail "Linux run: status $linux_status, files: $(ls -A "$work/linux" | tr '\n' ' ')"
fi

cp build-windows/bin/scenario_compiler.exe "$work/windows/"
run_compiler_under_wine "$work/windows" "$work/windows.log"
windows_status=$?
if [ "$windows_status" -eq 0 ] &&
   [ "$(ls -A "$work/windows")" = "$(expected_listing scenario_compiler.exe)" ]; then
  pass "Windows run ends with status 0 leaving the six files"
else
  cat "$work/windows.log"
  fail "Windows run: status $windows_status, files: $(ls -A "$work/windows" | tr '\n' ' ')"
fi
for name in "${outputs[@]}"; do
  if [ -f "$work/linux/$name" ] && [ -f "$work/windows/$name" ] && cmp "$work/linux/$name" "$work/windows/$name"; then
    pass "$name is byte-identical on Linux and Windows"
  else
    fail "$name differs or is missing"
  fi
done

# --- the wait window ---------------------------------------------------------------
# The helper runs under the shipped program's name, so that its title is the same.
mkdir -p "$work/hold"
cp "$helpers/wait_window_hold.exe" "$work/hold/scenario_compiler.exe"
(cd "$work/hold" && exec timeout 60 wine scenario_compiler.exe 10 >/dev/null 2>&1) &
hold_pid=$!
if wait_for_windows scenario_compiler 1 300; then
  sleep 1
  window=$(windows_named scenario_compiler | head -1)
  import -window "$window" -strip "$work/wait_window.png" 2>/dev/null
  # The middle of the window holds the label: dark letters on a light ground.
  range=$(convert "$work/wait_window.png" -gravity center -crop 60%x40%+0+0 +repage -colorspace Gray \
            -format '%[fx:minima] %[fx:maxima] %k' info: 2>/dev/null)
  read -r darkest lightest colours <<<"${range:-1 0 0}"
  if awk -v d="$darkest" -v l="$lightest" -v c="$colours" 'BEGIN { exit !(d < 0.25 && l > 0.75 && c >= 3) }'; then
    mkdir -p docs && cp "$work/wait_window.png" docs/wait_window.png
    pass "wait window shows its label (docs/wait_window.png)"
  else
    fail "wait window picture looks blank (darkest $darkest, lightest $lightest, $colours colours)"
  fi
else
  fail "wait window did not appear"
fi
if wait_for_end "$hold_pid" 300 && wait "$hold_pid"; then
  pass "wait window program ends by itself with status 0"
else
  kill "$hold_pid" 2>/dev/null
  fail "wait window program did not end cleanly"
fi

# --- the errore box -----------------------------------------------------------------
timeout 60 wine "$helpers/errore_box.exe" 1250 >/dev/null 2>&1 &
box_pid=$!
if wait_for_windows errore_box 2 300; then
  sleep 0.5
  box=$(narrowest_window errore_box)
  import -window root -strip "$work/errore_box.png" 2>/dev/null
  if kill -0 "$box_pid" 2>/dev/null; then
    pass "errore box waits while it is open"
  else
    fail "errore box program ended before the box was closed"
  fi
  press_return "$box"
  if wait_for_end "$box_pid" 100; then
    wait "$box_pid"
    status=$?
    if [ "$status" -eq 2 ]; then
      pass "closing the errore box ends the program with status 2"
    else
      fail "errore program ended with status $status, not 2"
    fi
  else
    kill "$box_pid" 2>/dev/null
    fail "errore program still running 10 s after its box was closed"
  fi
else
  kill "$box_pid" 2>/dev/null
  fail "errore box did not appear"
fi

# --- the authoring tool ---------------------------------------------------------
tool_exe="$root/build-windows/bin/scenario_tool.exe"

# Runs the Linux test binary $1 with the gtest filter $2 against scenario_tool.exe
# (label $3): one verdict per test, and one for the run reaching its end.
tests_against_exe() {
  local binary=$1 filter=$2 label=$3 verdict name
  SCENARIO_TOOL="$tool_exe" SCENARIO_TOOL_RUNNER=wine timeout 3600 "$binary" --gtest_filter="$filter" \
    >"$work/$label.log" 2>&1
  while read -r verdict name; do
    if [ "$verdict" = OK ]; then pass "$label: $name"; else fail "$label: $name (see $work/$label.log)"; fi
  done < <(sed -n 's/^\[ *\(OK\|FAILED\) *\] \([^ ]*\) (.*/\1 \2/p' "$work/$label.log")
  if grep -q '^\[==========\] .* ran\.' "$work/$label.log"; then
    pass "$label: every test ran to its end"
  else
    tail -20 "$work/$label.log"
    fail "$label: the test run broke off"
  fi
}
# Left out: a test that finds TMPDIR empty after check (Wine keeps a folder of
# its own there), and SIGTERM, which has no Windows counterpart (the end by
# Ctrl+C is checked below).
tests_against_exe build/bin/tools_tests \
  'ToolWriteDocuments.*:ToolCompile.*:ToolSummary.*:ToolCommandLine.*:ToolNames.*:ToolDump.*:Check.*:BuiltInPlot.*:Plot.*:ToolDiagnostics.*:*HostileDocument.*:-Check.WritesNoFileTheAuthorCanSee' \
  tools
tests_against_exe build/bin/serve_tests 'Serve.*:-Serve.EndsCleanlyOnInterruptAndTermination' serve

# Commands that read no document: the same bytes and status as the Linux tool.
mkdir -p "$work/same"
while read -r arguments; do
  (cd "$work/same" && timeout 60 "$root/build/bin/scenario_tool" $arguments >linux.out 2>linux.err; echo $? >linux.status)
  (cd "$work/same" && timeout 120 wine "$tool_exe" $arguments >windows.out 2>windows.err; echo $? >windows.status)
  if cmp -s "$work/same/linux.out" "$work/same/windows.out" && cmp -s "$work/same/linux.err" "$work/same/windows.err" &&
     cmp -s "$work/same/linux.status" "$work/same/windows.status"; then
    pass "scenario_tool.exe $arguments: the Linux tool's output and status ($(cat "$work/same/linux.status"))"
  else
    diff "$work/same/linux.out" "$work/same/windows.out" | head -5
    diff "$work/same/linux.err" "$work/same/windows.err" | head -5
    fail "scenario_tool.exe $arguments: output or status differs from the Linux tool's"
  fi
done <<'EOF_ARGUMENTS'
explain --all
explain --list
explain --all --markdown
explain 6 W101
explain 9999
help
help serve
serve --help
nonsense
--version
EOF_ARGUMENTS

# Paths as typed on Windows: a folder with a space and a letter beyond ASCII,
# reached through the wide command line; the messages name the documents with
# the backslashes typed, and are otherwise the Linux tool's bytes.
city="$work/Città e borghi"
mkdir -p "$city"
(cd "$city" && timeout 60 "$root/build/bin/scenario_tool" write-documents . >/dev/null 2>&1)
sed -i 's/^velocita,  106050,    30/velocita,  106050,    33/' "$city/Bresta_Vilcar_RX907-.txt"
(cd "$work" && timeout 60 "$root/build/bin/scenario_tool" check "Città e borghi/Bresta_Vilcar_linea.txt" \
  "Città e borghi/Bresta_Vilcar_RX907-.txt" >"$work/city.linux" 2>&1; echo "status $?" >>"$work/city.linux")
(cd "$work" && LC_ALL=C.UTF-8 timeout 120 wine "$tool_exe" check 'Città e borghi\Bresta_Vilcar_linea.txt' \
  'Città e borghi\Bresta_Vilcar_RX907-.txt' >"$work/city.windows" 2>&1; echo "status $?" >>"$work/city.windows")
if grep -q 'Città e borghi\\Bresta_Vilcar_RX907-\.txt:[0-9]*: warning' "$work/city.windows" &&
   cmp -s <(sed 's|Città e borghi/|Città e borghi\\|g' "$work/city.linux") "$work/city.windows"; then
  pass "scenario_tool.exe check reads 'Città e borghi\\...' and names it as typed"
else
  diff "$work/city.linux" "$work/city.windows" | head -8
  fail "scenario_tool.exe check on 'Città e borghi\\...' differs from the Linux tool's"
fi

# serve under Wine: the scenario on 127.0.0.1, a path outside and a foreign
# name refused, and Ctrl+C (SIGINT to the Wine process) ends it with status 0.
mkdir -p "$work/serve"
(cd "$work/serve" && timeout 120 wine "$tool_exe" write-documents src >/dev/null 2>&1)
(cd "$work/serve" &&
  exec timeout 300 wine "$tool_exe" serve src/Bresta_Vilcar_linea.txt src/Bresta_Vilcar_RX907-.txt --port 0 \
    >"$work/serve/out" 2>"$work/serve/err") &
serve_pid=$!
port=""
for _ in $(seq 600); do
  port=$(sed -n 's|^Preview at http://127\.0\.0\.1:\([0-9]*\)/$|\1|p' "$work/serve/out")
  [ -n "$port" ] && break
  kill -0 "$serve_pid" 2>/dev/null || break
  sleep 0.1
done
if [ -n "$port" ]; then
  pass "scenario_tool.exe serve announces $(head -1 "$work/serve/out")"
  answer() { curl -s --max-time 20 --path-as-is -o "$work/serve/body" -w '%{http_code}' "$@"; }
  code=$(answer "http://127.0.0.1:$port/scenario.json")
  if [ "$code" = 200 ] && grep -q '"route":"Bresta_Vilcar"' "$work/serve/body"; then
    pass "serve under Wine answers GET /scenario.json with the route"
  else
    fail "serve under Wine: GET /scenario.json gave $code"
  fi
  code=$(answer "http://127.0.0.1:$port/../../etc/passwd")
  if [ "$code" = 404 ] && ! grep -q 'root:' "$work/serve/body"; then
    pass "serve under Wine refuses /../../etc/passwd ($code)"
  else
    fail "serve under Wine: /../../etc/passwd gave $code"
  fi
  code=$(answer -H 'Host: attacker.example' "http://127.0.0.1:$port/scenario.json")
  if [ "$code" = 403 ]; then
    pass "serve under Wine refuses a foreign Host ($code)"
  else
    fail "serve under Wine: a foreign Host gave $code"
  fi
  kill -INT "$serve_pid"
  if wait_for_end "$serve_pid" 200; then
    wait "$serve_pid"
    status=$?
    if [ "$status" -eq 0 ] && [ -z "$(ls "$work/serve" | grep -v -x -e src -e out -e err -e body)" ]; then
      pass "serve under Wine ends with status 0 on Ctrl+C, having written nothing"
    else
      fail "serve under Wine ended with status $status on Ctrl+C: $(cat "$work/serve/err")"
    fi
  else
    kill "$serve_pid" 2>/dev/null
    fail "serve under Wine still runs 20 s after Ctrl+C"
  fi
else
  kill "$serve_pid" 2>/dev/null
  fail "scenario_tool.exe serve announced no address: $(cat "$work/serve/err")"
fi

# The browser test once against the server under Wine (Chromium on the Linux
# side, 127.0.0.1): the built-in route's page, and a page left open across a
# restart of the server on the same port.
if SCENARIO_TOOL="$tool_exe" SCENARIO_TOOL_RUNNER=wine MAKE_ROUTE="$root/build/bin/make_route" \
   SCREENSHOT="$work/preview-under-wine.png" timeout 600 node --test --test-name-pattern='built-in route|restart' \
   tools/serve/preview/preview_test.mjs >"$work/preview.log" 2>&1 && grep -q '^# pass 2$' "$work/preview.log"; then
  pass "the browser test passes against scenario_tool.exe serve under Wine"
else
  grep -A8 '^not ok' "$work/preview.log" | head -30
  fail "the browser test against scenario_tool.exe serve under Wine (see $work/preview.log)"
fi

# The language server's client test against scenario_tool.exe lsp under Wine.
printf '#!/bin/sh\nexec wine "%s" "$@"\n' "$tool_exe" >"$work/scenario_tool_under_wine"
chmod +x "$work/scenario_tool_under_wine"
if SCENARIO_TOOL="$work/scenario_tool_under_wine" timeout 300 node --test tools/lsp/test/lsp_test.mjs \
   >"$work/lsp.log" 2>&1 && grep -q '^# fail 0$' "$work/lsp.log"; then
  pass "the language server's client test passes against scenario_tool.exe lsp under Wine"
else
  grep -A8 '^not ok' "$work/lsp.log" | head -30
  fail "the language server's client test against scenario_tool.exe lsp under Wine (see $work/lsp.log)"
fi

# Started from Explorer (a console of its own, as wineconsole gives it): with
# no arguments the tool explains itself and waits for a key; with two
# documents dropped on it, train description first, it serves them and opens
# the page in the default browser (a stand-in that notes the address).
mkdir -p "$work/desktop"
(cd "$work/desktop" && exec timeout 120 wine start /wait wineconsole "$tool_exe" >/dev/null 2>&1) &
desktop_pid=$!
if wait_for_windows 'Z:.*scenario_tool\.exe' 1 300 && sleep 3 && kill -0 "$desktop_pid" 2>/dev/null; then
  import -window root -strip "$work/desktop/introduction.png" 2>/dev/null
  xdotool windowfocus --sync "$(windows_named 'Z:.*scenario_tool\.exe' | head -1)" >/dev/null 2>&1
  xdotool key space >/dev/null 2>&1
  if wait_for_end "$desktop_pid" 100; then
    pass "scenario_tool.exe started from Explorer explains itself and waits for a key"
  else
    fail "scenario_tool.exe started from Explorer did not end on a key"
  fi
else
  fail "scenario_tool.exe started from Explorer showed no window, or did not wait"
fi
kill "$desktop_pid" 2>/dev/null

printf '#!/bin/sh\necho "$1" >"%s/opened"\n' "$work/desktop" >"$work/desktop/browser"
chmod +x "$work/desktop/browser"
timeout 60 wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$work/desktop/browser" /f >/dev/null 2>&1
(cd "$work/desktop" && timeout 60 "$root/build/bin/scenario_tool" write-documents docs >/dev/null 2>&1)
(cd "$work/desktop" &&
  exec timeout 120 wine start /wait wineconsole "$tool_exe" 'docs\Bresta_Vilcar_RX907-.txt' 'docs\Bresta_Vilcar_linea.txt' \
    >/dev/null 2>&1) &
desktop_pid=$!
for _ in $(seq 300); do [ -s "$work/desktop/opened" ] && break; sleep 0.1; done
url=$(head -1 "$work/desktop/opened" 2>/dev/null)
if [[ "$url" =~ ^http://127\.0\.0\.1:[0-9]+/$ ]] &&
   curl -s --max-time 20 "${url}scenario.json" | grep -q '"line":"docs\\\\Bresta_Vilcar_linea.txt"'; then
  pass "two documents dropped on scenario_tool.exe are served and the page opened ($url)"
else
  fail "two documents dropped on scenario_tool.exe: no page opened, or not the route (${url:-no address})"
fi
window=$(windows_named 'Z:.*scenario_tool\.exe' | head -1)
xdotool windowfocus --sync "$window" >/dev/null 2>&1
xdotool key ctrl+c >/dev/null 2>&1
sleep 2
xdotool key space >/dev/null 2>&1
if wait_for_end "$desktop_pid" 100; then
  pass "the dropped documents' preview ends on Ctrl+C and a key"
else
  kill "$desktop_pid" 2>/dev/null
  fail "the dropped documents' preview still runs after Ctrl+C and a key"
fi

finish
