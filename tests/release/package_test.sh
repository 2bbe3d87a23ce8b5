#!/usr/bin/env bash
# scripts/package on this checkout's win32 build and a native srt-retime:
# the zip's and the tarball's entries, the programs packed unchanged, the
# texts' line ends, the readme's help text; and a build it must refuse.
# Usage: package_test.sh ROOT WIN32_BUILD NATIVE_BUILD   (exit 77: skipped)
set -uo pipefail
root=$1 win=$2 native=$3
for f in "$win/bin/SrtRetime.exe" "$win/bin/srt-retime.exe" "$native/bin/srt-retime"; do
  [[ -f $f ]] || { echo "skipped: $f is not built"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then echo "ok: $what"; return 0; fi
  echo "FAILED: $what"
  failures=$((failures + 1))
  return 1
}

version=$("$native/bin/srt-retime" --version) && version=${version#srt-retime }
"$root/scripts/package" --win-build "$win" --native-build "$native" --out "$work/dist" >"$work/log" 2>&1
check "scripts/package succeeds" test $? -eq 0 || cat "$work/log"
zip="$work/dist/SrtRetime-$version-win32.zip"
tarball="$work/dist/srt-retime-$version-linux-x86_64.tar.gz"
check "the zip is named by the version" test -f "$zip"
check "the tarball is named by the version" test -f "$tarball"
check "nothing half written is left" test -z "$(find "$work/dist" -name '*.part')"

# The zip: the programs, the texts and every built skin under skins/.
expected=$(
  printf '%s\n' SrtRetime.exe srt-retime.exe readme.txt LICENSE.txt
  for s in "$win"/skins/*.skn; do echo "skins/${s##*/}"; done
)
listing=$(cmake -E tar tf "$zip" | grep -v '/$')
check "zip entries" test "$(sort <<<"$listing")" == "$(sort <<<"$expected")"
check "at least two skins" test "$(grep -c '^skins/.*\.skn$' <<<"$listing")" -ge 2
mkdir -p "$work/zip" && (cd "$work/zip" && cmake -E tar xf "$zip")
check "SrtRetime.exe packed unchanged" cmp -s "$work/zip/SrtRetime.exe" "$win/bin/SrtRetime.exe"
check "srt-retime.exe packed unchanged" cmp -s "$work/zip/srt-retime.exe" "$win/bin/srt-retime.exe"
for s in "$win"/skins/*.skn; do
  check "skin ${s##*/} packed unchanged" cmp -s "$work/zip/skins/${s##*/}" "$s"
done

readme="$work/zip/readme.txt"
crlf_only() { [[ -s $1 ]] && ! grep -q -v $'\r$' "$1" && [[ $(tail -c 2 "$1" | od -An -c | tr -d ' ') == '\r\n' ]]; }
check "readme.txt lines all end with CR LF" crlf_only "$readme"
check "LICENSE.txt lines all end with CR LF" crlf_only "$work/zip/LICENSE.txt"
check "readme names the version" grep -q "SrtRetime $version"$'\r$' "$readme"
check "readme tells how to choose a skin" grep -q -- '--skin skins\\' "$readme"
check "LICENSE.txt is MIT with our copyright" \
  grep -q 'Copyright (c) 2026 the SrtRetime authors' "$work/zip/LICENSE.txt"
missing=0
while IFS= read -r line; do
  [[ -z $line ]] && continue
  grep -q -F -- "    $line"$'\r' "$readme" || { echo "  not in readme: $line"; missing=1; }
done < <("$native/bin/srt-retime" --help | sed 's/ *$//')
check "readme holds srt-retime --help line by line" test $missing -eq 0
check "readme is plain ASCII" test -z "$(LC_ALL=C grep -n '[^[:print:][:space:]]' "$readme")"

# The tarball: one folder with the native program, README and LICENSE.
name="srt-retime-$version-linux-x86_64"
check "tarball entries" test "$(tar tzf "$tarball" | grep -v '/$' | sort)" == \
  "$(printf '%s\n' "$name/LICENSE" "$name/README" "$name/srt-retime")"
mkdir -p "$work/tar" && tar xzf "$tarball" -C "$work/tar"
check "the packed srt-retime runs" test "$("$work/tar/$name/srt-retime" --version)" == "srt-retime $version"
check "README has LF line ends" test -z "$(grep -l $'\r' "$work/tar/$name/README")"

# A build of the wrong machine is refused, and nothing is written.
mkdir -p "$work/fake/bin" "$work/fake/skins"
cp "$native/bin/srt-retime" "$work/fake/bin/SrtRetime.exe"
cp "$native/bin/srt-retime" "$work/fake/bin/srt-retime.exe"
cp "$win"/skins/*.skn "$work/fake/skins/"
"$root/scripts/package" --win-build "$work/fake" --native-build "$native" --out "$work/refused" >"$work/log" 2>&1
check "a non-i686 build is refused" test $? -ne 0
check "the refusal names the program" grep -q 'SrtRetime.exe is not a 32-bit Windows program' "$work/log"
check "nothing written on refusal" test -z "$(ls -A "$work/refused" 2>/dev/null)"

((failures == 0)) || { echo "$failures failed"; exit 1; }
