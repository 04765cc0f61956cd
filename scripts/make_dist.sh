#!/usr/bin/env bash
# Packs the release archives into DIST_DIR (run by the build's `dist` target,
# which `make dist` builds):
#   scenario-compiler-VERSION-linux-x86_64.tar.gz   one folder: both programs,
#       the manual page of scenario_tool, README.txt, the VS Code extension
#       (scripts/package_vscode.sh) and the authors' reference in docs/
#       (authoring.md, explanations.md); the programs carry the C++ runtime in
#       themselves and need no shared library beyond the C library (a build
#       that does is refused, as the archive would not run on a plain system)
#   scenario-compiler-VERSION-windows-x86_64.zip    one folder: both .exe files,
#       the same README as LEGGIMI.txt (Windows-1252, CR LF), the same
#       extension and the same docs/
#   scenario-tool-VERSION.vsix                       the extension alone
# README.txt is the template README with the version, the C library the Linux
# programs need, the extension's file, the tool's commands (from its own help)
# and those that the Windows tool lacks filled in.
set -euo pipefail
if [ $# -ne 9 ]; then
  echo "usage: make_dist.sh VERSION DIST_DIR COMPILER TOOL MANUAL README_TEMPLATE MANUAL_SCRIPT WINDOWS_PROGRAMS DOCS" >&2
  exit 64
fi
version=$1 dist=$2 compiler=$3 tool=$4 manual=$5 template=$6 manual_script=$7 windows=$8 docs=$9
# The authors' reference; the explanations page links to the reference beside it.
references="authoring.md explanations.md"
for file in "$compiler" "$tool" "$manual" "$template" "$manual_script" \
            "$windows/scenario_compiler.exe" "$windows/scenario_tool.exe" $(printf "$docs/%s " $references); do
  if [ ! -f "$file" ]; then
    echo "make_dist.sh: $file is missing (the Windows programs come from 'make windows')" >&2
    exit 1
  fi
done

stage=$(mktemp -d /tmp/make-dist-XXXXXX)
trap 'rm -rf "$stage"' EXIT
# The VS Code extension, for both archives and beside them.
bash "$(dirname "$0")/package_vscode.sh" "$stage/editor" >/dev/null
vsix=$(cd "$stage/editor" && ls *.vsix)
linux_name="scenario-compiler-$version-linux-x86_64"
windows_name="scenario-compiler-$version-windows-x86_64"

mkdir "$stage/$linux_name" "$stage/$windows_name"
# Shared libraries beyond the C library, which a plain system may lack or hold
# in another version: the C++ runtime among them, which the programs carry.
libraries=$(ldd "$compiler" "$tool" | awk '$2 == "=>" { print $1 }' |
  { grep -vE '^(libc|libm|libpthread|libdl|librt)\.so\.[0-9]+$' || true; } | sort -u)
if [ -n "$libraries" ]; then
  echo "make_dist.sh: the programs need shared libraries beyond the C library: $(echo $libraries)" >&2
  exit 1
fi
# Symbol versions of the C++ runtime (GLIBCXX, CXXABI) or of GCC's (GCC) mean
# a program still asks for the shared runtime.
cxx_versions=$(objdump -T "$compiler" "$tool" | grep -oE '\b(GLIBCXX|CXXABI|GCC)_[0-9][0-9.]*' | sort -u || true)
if [ -n "$cxx_versions" ]; then
  echo "make_dist.sh: the programs ask for the shared C++ runtime: $(echo $cxx_versions)" >&2
  exit 1
fi

# The newest version of the C library that a program asks for.
glibc=$(objdump -T "$compiler" "$tool" | grep -o 'GLIBC_[0-9][0-9.]*' | sed 's/GLIBC_//' | sort -V | tail -1)
if [ -z "$glibc" ]; then
  echo "make_dist.sh: objdump -T names no version of the C library in $compiler or $tool" >&2
  exit 1
fi
commands=$(bash "$manual_script" --synopsis "$tool")
# The commands that the Windows tool lacks: those whose purpose is not in the .exe.
for command in $(awk '$1 == "scenario_tool" { print $2 }' <<<"$commands"); do
  if ! grep -qF "$("$tool" "$command" --help | head -1)" "$windows/scenario_tool.exe"; then
    windows_lacks="${windows_lacks:+$windows_lacks, }$command"
  fi
done
awk -v version="$version" -v glibc="$glibc" -v vsix="$vsix" -v commands="$commands" -v lacks="${windows_lacks:-}" '
  $0 == "@TOOL_COMMANDS@" { print commands; next }
  $0 == "@WINDOWS_LACKS@" { if (lacks != "") print "\nOn Windows, scenario_tool.exe has every command but " lacks "."; next }
  { gsub(/@VERSION@/, version); gsub(/@GLIBC@/, glibc); gsub(/@VSIX@/, vsix); print }' "$template" >"$stage/README.txt"
if grep -n '@[A-Z_]*@' "$stage/README.txt"; then
  echo "make_dist.sh: a placeholder of $template was left unfilled" >&2
  exit 1
fi

install -m 0755 -s "$compiler" "$tool" "$stage/$linux_name/"
install -m 0644 "$manual" "$stage/README.txt" "$stage/$linux_name/"
for program in scenario_compiler.exe scenario_tool.exe; do
  x86_64-w64-mingw32-strip -o "$stage/$windows_name/$program" "$windows/$program"
done
iconv -f UTF-8 -t WINDOWS-1252 "$stage/README.txt" | sed 's/$/\r/' >"$stage/$windows_name/LEGGIMI.txt"
for folder in "$linux_name" "$windows_name"; do
  install -m 0644 "$stage/editor/$vsix" "$stage/$folder/"
  mkdir "$stage/$folder/docs"
  for reference in $references; do install -m 0644 "$docs/$reference" "$stage/$folder/docs/"; done
done

tar --create --gzip --file="$stage/$linux_name.tar.gz" --directory="$stage" \
  --owner=0 --group=0 --numeric-owner --sort=name "$linux_name"
(cd "$stage" && zip -q -X -r "$windows_name.zip" "$windows_name")

mkdir -p "$dist"
rm -f "$dist"/scenario-compiler-*-linux-x86_64.tar.gz "$dist"/scenario-compiler-*-windows-x86_64.zip "$dist"/scenario-tool-*.vsix
mv "$stage/$linux_name.tar.gz" "$stage/$windows_name.zip" "$stage/editor/$vsix" "$dist/"
ls -l "$dist/$linux_name.tar.gz" "$dist/$windows_name.zip" "$dist/$vsix"
