#!/usr/bin/env bash
# scripts/setup --dpi-prefix in a scratch project whose main prefix is the
# real one (build/wine, read only): the copy gets its LogPixels and a desktop
# large enough for that DPI, a copy made with a smaller desktop (by an older
# setup) is mended, and a second run does nothing.
# Usage: dpi_prefix_test.sh PROJECT_ROOT (run in a folder on build/'s disk:
# the copy hard-links the prefix's system folders)
set -uo pipefail
project=$1
source "$project/scripts/lib/wine-env.sh"
srt_wine_env "$project"
scratch=$(mktemp -d "$PWD/dpi-prefix-test.XXXX")
copy=$scratch/build/wine-dpi192
cleanup() {
  [[ -d $copy ]] && WINEPREFIX=$copy "$SRT_WINESERVER" -k >/dev/null 2>&1
  rm -rf "$scratch"
}
trap cleanup EXIT
mkdir -p "$scratch/build"
ln -s "$project/scripts" "$scratch/scripts"
ln -s "$project/build/wine" "$scratch/build/wine"

failures=0
check() {  # check NAME CONDITION...
  local name=$1; shift
  if "$@"; then echo "ok   $name"; else
    echo "FAIL $name"; echo "     output: ${out//$'\n'/$'\n'     }"
    failures=$((failures + 1))
  fi
}
run_setup() { out=$("$scratch/scripts/setup" --dpi-prefix 192 2>&1); rc=$?; }
desktop() { grep -x '"Default"="[0-9]*x[0-9]*"' "$copy/user.reg"; }

want=\"Default\"=\"$(srt_desktop_size 192)\"
run_setup
check "the copy is made" test "$rc" = 0 -a -f "$copy/.srt-ready"
check "its screen has 192 DPI" grep -q '"LogPixels"=dword:000000c0' "$copy/user.reg"
check "its desktop is $(srt_desktop_size 192)" test "$(desktop)" = "$want"
# Every desktop fits on the test screen (what lies past it reads black).
fits() {
  local dpi w h
  for dpi in 96 120 144 192; do
    IFS=x read -r w h <<<"$(srt_desktop_size "$dpi")"
    ((w <= ${srt_screen_size%x*} && h <= ${srt_screen_size#*x})) || return 1
  done
}
check "the screen holds every desktop" fits

# A copy made by an older setup: a desktop of another size.
sed -i 's/^"Default"="[0-9]*x[0-9]*"$/"Default"="2560x1600"/' "$copy/user.reg"
touch "$copy/kept"
run_setup
check "an older copy is mended" test "$rc" = 0 -a "$(desktop)" = "$want"
check "the mending is said" grep -q "setting the desktop of build/wine-dpi192" <<<"$out"
check "the copy is kept, not made again" test -f "$copy/kept"

run_setup
check "a second run is quiet" test "$rc" = 0 -a -z "$out"

echo "$failures failed"
((failures == 0))
