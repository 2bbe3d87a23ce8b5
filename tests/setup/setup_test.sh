#!/usr/bin/env bash
# scripts/setup --packages against fake apt-get, dpkg, dpkg-query and sudo on
# PATH: nothing is installed for real. Usage: setup_test.sh PATH/TO/setup
set -uo pipefail
setup=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fakes=$work/bin
mkdir -p "$fakes"

# State: $work/installed (one package a line), $work/arch (foreign
# architectures), $work/calls (every apt-get and dpkg call).
# FAKE_UPDATE_FAILS=N: the first N updates exit 100.
# FAKE_BROKEN="p q": packages whose install does not resolve.
cat >"$fakes/apt-get" <<'FAKE'
#!/usr/bin/env bash
echo "apt-get $*" >>"$FAKE_STATE/calls"
case $1 in
  update)
    n=$(cat "$FAKE_STATE/updates" 2>/dev/null || echo 0)
    echo $((n + 1)) >"$FAKE_STATE/updates"
    if ((n < ${FAKE_UPDATE_FAILS:-0})); then
      echo "E: Failed to fetch http://example/i386/Packages.xz  File has unexpected size (1 != 2). Mirror sync in progress?"
      echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
      exit 100
    fi ;;
  install)
    shift; pkgs=()
    for a in "$@"; do [[ $a == -* ]] || pkgs+=("$a"); done
    for p in "${pkgs[@]}"; do
      for b in ${FAKE_BROKEN:-}; do
        [[ $p == "$b" ]] && { echo "E: Unable to correct problems, you have held broken packages."; exit 100; }
      done
    done
    printf '%s\n' "${pkgs[@]}" >>"$FAKE_STATE/installed" ;;
esac
FAKE
cat >"$fakes/dpkg-query" <<'FAKE'
#!/usr/bin/env bash
p=${!#}
grep -qx -- "$p" "$FAKE_STATE/installed" 2>/dev/null || exit 1
printf 'install ok installed'
FAKE
cat >"$fakes/dpkg" <<'FAKE'
#!/usr/bin/env bash
echo "dpkg $*" >>"$FAKE_STATE/calls"
case $1 in
  --print-foreign-architectures) cat "$FAKE_STATE/arch" 2>/dev/null || true ;;
  --add-architecture) echo "$2" >>"$FAKE_STATE/arch" ;;
esac
FAKE
printf '#!/usr/bin/env bash\nexec "$@"\n' >"$fakes/sudo"
chmod +x "$fakes"/*

required=(cmake make g++ clang libclang-rt-14-dev googletest g++-mingw-w64-i686
  g++-mingw-w64-x86-64 wine wine64 xvfb xauth imagemagick fonts-wqy-zenhei
  libgif-dev libunicorn-dev)

failures=0
state=""
# fresh [PACKAGES...]: a new machine state with PACKAGES installed.
fresh() {
  state=$(mktemp -d "$work/state.XXXX")
  : >"$state/calls"
  printf '%s\n' "$@" >"$state/installed"
}
# run_setup VAR=VALUE...: runs the setup; sets $out and $rc.
run_setup() {
  out=$(env PATH="$fakes:$PATH" FAKE_STATE="$state" SRT_SETUP_RETRY_DELAY=0 SRT_SETUP_STATE_DIR="$state" "$@" \
        "$setup" --packages 2>&1)
  rc=$?
}
check() {  # check NAME CONDITION...
  local name=$1; shift
  if "$@"; then echo "ok   $name"; else
    echo "FAIL $name"; echo "     output: ${out//$'\n'/$'\n'     }"
    echo "     calls: $(tr '\n' ';' <"$state/calls")"
    failures=$((failures + 1))
  fi
}
calls() { grep -c -- "$1" "$state/calls" || true; }
has() { grep -qx -- "$1" "$state/installed"; }

# Everything there: no package tool is asked, nothing is printed.
fresh "${required[@]}"
run_setup SRT_RUNS_32BIT=0
check "quiet when everything is installed" test "$rc" = 0 -a -z "$out" -a ! -s "$state/calls"

# The update fails twice (a mirror mid-sync): two tries, then the install
# goes on with the lists that are there.
fresh cmake make
run_setup SRT_RUNS_32BIT=0 FAKE_UPDATE_FAILS=2
check "update retried once, then install goes on" \
  test "$rc" = 0 -a "$(calls 'apt-get update')" = 2 -a "$(calls 'apt-get install')" = 1
check "failed update reported as a warning" grep -q "going on with the package lists" <<<"$out"
check "every required package installed" bash -c "$(declare -f has); state=$state; \
  for p in ${required[*]}; do has \$p || exit 1; done"

# One failure only: the second try succeeds and no warning about old lists.
fresh
run_setup SRT_RUNS_32BIT=0 FAKE_UPDATE_FAILS=1
check "second update succeeds" \
  test "$rc" = 0 -a "$(calls 'apt-get update')" = 2
check "no stale-lists warning after a good retry" bash -c "! grep -q 'going on' <<<\"\$1\"" _ "$out"

# A kernel without 32-bit processes: no i386 architecture, no wine32.
fresh
run_setup SRT_RUNS_32BIT=0
check "no i386 packages where 32-bit cannot run" \
  test "$rc" = 0 -a "$(calls 'add-architecture')" = 0 -a "$(calls 'wine32')" = 0

# A kernel that runs them: i386 added once, wine32 installed.
fresh
run_setup SRT_RUNS_32BIT=1
check "i386 architecture added and wine32 installed" \
  test "$rc" = 0 -a "$(calls 'add-architecture i386')" = 1 -a "$(calls 'wine32:i386')" -ge 1
has wine32:i386; check "wine32 recorded as installed" test $? = 0
# Idempotent: a second run asks nothing.
: >"$state/calls"
run_setup SRT_RUNS_32BIT=1
check "second run is quiet" test "$rc" = 0 -a -z "$out" -a ! -s "$state/calls"

# wine32 does not resolve (its i386 index failed): a warning, the rest installed.
fresh
run_setup SRT_RUNS_32BIT=1 FAKE_UPDATE_FAILS=2 FAKE_BROKEN=wine32:i386
check "unresolvable wine32 is a warning" test "$rc" = 0
check "warning names wine32" grep -q "wine32:i386 could not be installed" <<<"$out"
has wine64; check "64-bit Wine still installed" test $? = 0
# Remembered: the next run neither downloads the index nor warns again.
: >"$state/calls"
run_setup SRT_RUNS_32BIT=1 FAKE_UPDATE_FAILS=2 FAKE_BROKEN=wine32:i386
check "an optional package that would not install is not retried at once" \
  test "$rc" = 0 -a -z "$out" -a ! -s "$state/calls"

# A package the tests need does not resolve: the setup fails, naming it.
fresh
run_setup SRT_RUNS_32BIT=0 FAKE_BROKEN="libunicorn-dev"
check "missing required package fails the setup" test "$rc" = 1
check "error names the package" grep -q "could not install libunicorn-dev" <<<"$out"
has cmake; check "other packages installed all the same" test $? = 0

echo "$failures failed"
((failures == 0))
