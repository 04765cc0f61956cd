#!/usr/bin/env bash
# Checks the release as a user gets it. `make dist` leaves both archives, named
# with the version of CMakeLists.txt; each archive holds one folder with exactly
# its files; unpacked into an empty folder, its compiler (the Windows one under
# Wine in a virtual X display) leaves there the six files of the normal build,
# byte for byte; the Linux programs carry the C++ runtime and need only the C
# library, no newer than the one README.txt names (the archive has no lib/,
# ldd names nothing else and objdump -T no version of the C++ runtime), the
# Windows ones only DLLs of Windows itself; LEGGIMI.txt is README.txt in
# Windows-1252 with CR LF; both carry the VS Code extension, the .vsix that
# make dist leaves beside them, which README.txt tells how to install, and the
# authors' reference (docs/authoring.md and docs/explanations.md) as the
# source tree has it. `make install` into a fresh
# prefix installs scenario_tool, which
# shows the version, and its manual page, which `man -l` shows.
# Every step is bounded in time. Ends with the line "N passed, M failed".
set -u
cd "$(dirname "$0")/.."

work=$(mktemp -d /tmp/test-dist-XXXXXX)
source scripts/wine_session.sh
source scripts/test_tally.sh

version=$(sed -n 's/^project(.* VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)
linux_name="scenario-compiler-$version-linux-x86_64"
windows_name="scenario-compiler-$version-windows-x86_64"
tarball="dist/$linux_name.tar.gz"
zipfile="dist/$windows_name.zip"

# Folder $1 holds exactly the files named by the lines of $2 and the six files
# of the reference run, and those are byte-identical to the reference's.
check_outputs() {
  local folder=$1 shipped=$2 label=$3 name
  if [ "$(ls -A "$folder" | sort)" = "$(printf '%s\n' $shipped "${outputs[@]}" | sort)" ]; then
    pass "$label: the folder holds its files and the six new ones, nothing else"
  else
    fail "$label: the folder holds $(ls -A "$folder" | tr '\n' ' ')"
  fi
  for name in "${outputs[@]}"; do
    if [ -f "$folder/$name" ] && cmp -s "$folder/$name" "$work/reference/$name"; then
      pass "$label: $name is byte-identical to the normal build's"
    else
      fail "$label: $name differs from the normal build's or is missing"
    fi
  done
}

# The commands that a help text on standard input lists, one a line, sorted.
commands_in_help() {
  tr -d '\r' | awk '/^(Subcommands|Commands):$/ { l = 1; next } l && /^  [^ ]/ { print $1 } /^$/ { l = 0 }' | sort
}

# --- builds ------------------------------------------------------------------
if [ -z "$version" ]; then
  fail "no VERSION in the project() line of CMakeLists.txt"
  finish
fi
if timeout 2400 make dist >"$work/make-dist.log" 2>&1 && [ -f "$tarball" ] && [ -f "$zipfile" ]; then
  pass "make dist leaves $tarball and $zipfile"
else
  tail -30 "$work/make-dist.log"
  fail "make dist (dist/ holds: $(ls dist 2>/dev/null | tr '\n' ' '))"
  finish
fi
vsix_name="scenario-tool-$(node -p "require('./editors/vscode/package.json').version").vsix"
vsix="dist/$vsix_name"
if unzip -Z1 "$vsix" 2>/dev/null | grep -qx 'extension/extension.js'; then
  pass "make dist leaves $vsix with the extension in it"
else
  fail "make dist leaves no VS Code package $vsix"
fi
if timeout 1200 make build >"$work/make-build.log" 2>&1 && [ -x build/bin/scenario_compiler ]; then
  pass "make build builds the normal program"
else
  tail -30 "$work/make-build.log"
  fail "make build"
  finish
fi

# --- the reference: a run of the normal build --------------------------------
mkdir "$work/reference"
cp build/bin/scenario_compiler "$work/reference/"
(cd "$work/reference" && timeout 300 ./scenario_compiler >"$work/reference.log" 2>&1)
status=$?
mapfile -t outputs < <(ls -A "$work/reference" | grep -vx scenario_compiler)
if [ "$status" -eq 0 ] && [ "${#outputs[@]}" -eq 6 ]; then
  pass "the normal build's run leaves six files"
else
  cat "$work/reference.log"
  fail "the normal build's run: status $status, files ${outputs[*]}"
  finish
fi

# The authors' reference in each archive's docs/, as the source tree has it.
references="docs/ docs/authoring.md docs/explanations.md"
check_references() {
  local folder=$1 label=$2 reference all=1
  for reference in docs/authoring.md docs/explanations.md; do
    cmp -s "$folder/$reference" "$reference" || all=0
  done
  if [ "$all" -eq 1 ]; then
    pass "$label: docs/authoring.md and docs/explanations.md are those of the source tree"
  else
    fail "$label: docs/authoring.md or docs/explanations.md differs from the source tree's"
  fi
}
# The archive's VS Code extension is the one make dist leaves beside it.
check_extension() {
  local folder=$1 label=$2
  if [ -s "$folder/$vsix_name" ] && cmp -s "$folder/$vsix_name" "$vsix"; then
    pass "$label: $vsix_name is the extension make dist leaves in dist/"
  else
    fail "$label: $vsix_name is missing or differs from $vsix"
  fi
}

# --- the Linux archive ---------------------------------------------------------
linux_files="README.txt scenario_compiler scenario_tool scenario_tool.1 $vsix_name"
listing=$(tar -tzf "$tarball" | sort)
if [ "$listing" = "$(printf '%s\n' "$linux_name/" $(printf "$linux_name/%s " $linux_files $references) | sort)" ]; then
  pass "$tarball holds one folder with $linux_files $references"
else
  fail "$tarball holds: $(echo $listing)"
fi
mkdir "$work/linux"
tar -xzf "$tarball" -C "$work/linux"
linux_dir="$work/linux/$linux_name"
check_references "$linux_dir" "Linux archive"
check_extension "$linux_dir" "Linux archive"
linux_files="$linux_files docs"
# The C library version README.txt names; Debian 12 has 2.36.
named_glibc=$(sed -n 's/^Linux: x86-64 with the GNU C library \([0-9][0-9.]*\) or later, as Debian 12 and$/\1/p' "$linux_dir/README.txt")
if [ -n "$named_glibc" ] && [ "$(printf '%s\n' "$named_glibc" 2.36 | sort -V | tail -1)" = 2.36 ]; then
  pass "README.txt names the GNU C library $named_glibc, which Debian 12 has"
else
  fail "README.txt names the GNU C library '$named_glibc', not one that Debian 12 (2.36) has"
fi
needed_glibc=()
for program in scenario_compiler scenario_tool; do
  # Each library the program loads, as NAME=WHERE_FOUND.
  libraries=$(ldd "$linux_dir/$program" 2>&1 | awk '$2 == "=>" { print $1 "=" $3 }' | sort)
  foreign=$(printf '%s\n' "$libraries" | grep -vE '^(libc|libm)\.so\.[0-9]+=/')
  if grep -q '^libc\.so\.6=/' <<<"$libraries" && [ -z "$foreign" ]; then
    pass "$program needs only the C library ($(sed 's/=.*//' <<<"$libraries" | tr '\n' ' '))"
  else
    fail "$program needs libraries beyond the C library: $(echo $foreign)"
  fi
  # The versions of the runtimes the program asks for: of the C library alone.
  versions=$(objdump -T "$linux_dir/$program" | grep -oE '\b[A-Z]+_[0-9][0-9.]*\b' | sort -u)
  cxx=$(grep -vE '^GLIBC_' <<<"$versions")
  newest=$(grep -E '^GLIBC_' <<<"$versions" | sed 's/^GLIBC_//' | sort -V | tail -1)
  needed_glibc+=("$newest")
  if [ -n "$newest" ] && [ -z "$cxx" ] &&
     [ "$(printf '%s\n' "$newest" "$named_glibc" | sort -V | tail -1)" = "$named_glibc" ]; then
    pass "$program carries the C++ runtime and asks for the GNU C library $newest at most"
  else
    fail "$program asks for $(echo $cxx) and the GNU C library $newest (README.txt names $named_glibc)"
  fi
done
if [ "$(printf '%s\n' "${needed_glibc[@]}" | sort -V | tail -1)" = "$named_glibc" ]; then
  pass "README.txt names the newest GNU C library the programs ask for"
else
  fail "the programs ask for the GNU C library ${needed_glibc[*]}, README.txt names $named_glibc"
fi
if grep -qF "GNU C library $named_glibc or later (Debian 12 or later)" README.md; then
  pass "the Download section of README.md names the GNU C library $named_glibc too"
else
  fail "the Download section of README.md names another GNU C library than $named_glibc"
fi
if grep -qx "    code --install-extension $vsix_name" "$linux_dir/README.txt"; then
  pass "README.txt tells how to install $vsix_name"
else
  fail "README.txt has no line 'code --install-extension $vsix_name'"
fi
# Started from another folder: the program writes beside itself.
(cd / && timeout 300 "$linux_dir/scenario_compiler" >"$work/linux-run.log" 2>&1)
status=$?
if [ "$status" -eq 0 ]; then
  pass "the unpacked Linux compiler ends with status 0"
else
  cat "$work/linux-run.log"
  fail "the unpacked Linux compiler ends with status $status"
fi
check_outputs "$linux_dir" "$linux_files" "Linux archive"
shown=$(timeout 60 "$linux_dir/scenario_tool" --version 2>&1)
if [ "$shown" = "scenario_tool $version" ]; then
  pass "the unpacked scenario_tool --version shows $version"
else
  fail "the unpacked scenario_tool --version shows '$shown'"
fi

# --- the Windows archive -------------------------------------------------------
windows_files="LEGGIMI.txt scenario_compiler.exe scenario_tool.exe $vsix_name"
listing=$(unzip -Z1 "$zipfile" | sort)
if [ "$listing" = "$(printf '%s\n' "$windows_name/" $(printf "$windows_name/%s " $windows_files $references) | sort)" ]; then
  pass "$zipfile holds one folder with $windows_files $references"
else
  fail "$zipfile holds: $(echo $listing)"
fi
mkdir "$work/windows"
unzip -q "$zipfile" -d "$work/windows"
windows_dir="$work/windows/$windows_name"
check_references "$windows_dir" "Windows archive"
check_extension "$windows_dir" "Windows archive"
windows_files="$windows_files docs"
leggimi="$windows_dir/LEGGIMI.txt"
if [ -s "$leggimi" ] && [ "$(grep -c $'\r$' "$leggimi")" -eq "$(wc -l <"$leggimi")" ] &&
   [ "$(tail -c 2 "$leggimi" | od -An -c | tr -d ' ')" = '\r\n' ] &&
   tr -d '\r' <"$leggimi" | iconv -f WINDOWS-1252 -t UTF-8 | cmp -s - "$linux_dir/README.txt"; then
  pass "LEGGIMI.txt is README.txt in Windows-1252 with CR LF line ends"
else
  fail "LEGGIMI.txt is not README.txt in Windows-1252 with CR LF line ends"
fi
for program in scenario_compiler.exe scenario_tool.exe; do
  dlls=$(x86_64-w64-mingw32-objdump -p "$windows_dir/$program" 2>/dev/null | sed -n 's/.*DLL Name: //p' | sort -u | tr '\n' ' ')
  if [ -n "$dlls" ] && ! printf '%s\n' $dlls |
       grep -qviE '^(kernel32|user32|gdi32|msvcrt|advapi32|shell32|ole32|oleaut32|comdlg32|comctl32|shlwapi|ws2_32|mswsock|bcrypt|crypt32|secur32|userenv|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$'; then
    pass "$program needs only DLLs of Windows itself ($dlls)"
  else
    fail "$program needs other DLLs: $dlls"
  fi
done

if wine_session_start "$work"; then
  pass "Wine prefix is ready on display $DISPLAY"
  run_compiler_under_wine "$windows_dir" "$work/windows-run.log"
  status=$?
  if [ "$status" -eq 0 ]; then
    pass "the unpacked Windows compiler ends with status 0"
  else
    cat "$work/windows-run.log"
    fail "the unpacked Windows compiler ends with status $status"
  fi
  check_outputs "$windows_dir" "$windows_files" "Windows archive"
  shown=$(cd "$work" && timeout 120 wine "$windows_dir/scenario_tool.exe" --version 2>&1 | tr -d '\r')
  if [ "$shown" = "scenario_tool $version" ]; then
    pass "the unpacked scenario_tool.exe --version shows $version"
  else
    fail "the unpacked scenario_tool.exe --version shows '$shown'"
  fi
  # The README names the commands that the Windows tool lacks; it has the others.
  lacks=$(sed -n 's/^On Windows, scenario_tool.exe has every command but \(.*\)\.$/\1/p' "$linux_dir/README.txt" |
    tr -d ',' | tr ' ' '\n' | sort)
  expected=$("$linux_dir/scenario_tool" --help | commands_in_help | comm -23 - <(printf '%s\n' $lacks | sort))
  shown=$(cd "$work" && timeout 120 wine "$windows_dir/scenario_tool.exe" --help 2>&1 | commands_in_help)
  if [ -n "$shown" ] && [ "$shown" = "$expected" ]; then
    pass "scenario_tool.exe has the commands the README gives it ($(echo $shown))"
  else
    fail "scenario_tool.exe has the commands '$(echo $shown)', the README gives it '$(echo $expected)'"
  fi
  wine_session_stop
else
  fail "Xvfb and the Wine prefix"
fi

# --- make install ----------------------------------------------------------------
prefix="$work/prefix"
if timeout 1200 make install PREFIX="$prefix" >"$work/make-install.log" 2>&1; then
  pass "make install PREFIX=$prefix"
else
  tail -30 "$work/make-install.log"
  fail "make install PREFIX=$prefix"
  finish
fi
installed=$(cd "$prefix" && find . -type f | sort | tr '\n' ' ')
if [ "$installed" = "./bin/scenario_tool ./share/man/man1/scenario_tool.1 " ] &&
   ! readelf -d "$prefix/bin/scenario_tool" | grep -qE 'RPATH|RUNPATH'; then
  pass "make install installs bin/scenario_tool (with no library path) and share/man/man1/scenario_tool.1"
else
  fail "make install installs: $installed"
fi
shown=$(timeout 60 "$prefix/bin/scenario_tool" --version 2>&1)
if [ "$shown" = "scenario_tool $version" ]; then
  pass "the installed scenario_tool --version shows $version"
else
  fail "the installed scenario_tool --version shows '$shown'"
fi
page="$prefix/share/man/man1/scenario_tool.1"
MANWIDTH=80 timeout 60 man --warnings -l "$page" >"$work/man.txt" 2>"$work/man.err"
status=$?
if [ "$status" -eq 0 ] && ! grep -q warning "$work/man.err" &&
   grep -q '^ *scenario_tool - ' "$work/man.txt" &&
   grep -q '^COMMANDS$' "$work/man.txt" && grep -q '^EXIT STATUS$' "$work/man.txt" &&
   grep -q "^scenario_tool $version " "$work/man.txt"; then
  pass "man -l shows the page: name, commands, exit statuses and version"
else
  cat "$work/man.err"
  fail "man -l on the installed page (status $status)"
fi
# Every command of the tool's help has its part of the page.
commands=$("$prefix/bin/scenario_tool" --help | commands_in_help)
[ -n "$commands" ] || fail "the installed scenario_tool --help lists no command"
for command in $commands; do
  if sed -n '/^COMMANDS$/,/^EXIT STATUS$/p' "$work/man.txt" | grep -q "^   $command:"; then
    pass "the page describes the command $command"
  else
    fail "the page does not describe the command $command"
  fi
done
if [ "$(MANPATH="$prefix/share/man" timeout 60 man -w scenario_tool 2>&1)" = "$page" ] &&
   cmp -s "$page" "$linux_dir/scenario_tool.1"; then
  pass "man finds the page under the prefix, and it is the archive's page"
else
  fail "man -w scenario_tool under the prefix, or the page differs from the archive's"
fi

finish
