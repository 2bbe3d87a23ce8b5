# Sourced by the scripts: the project's Wine prefix and a private Xvfb.
# srt_wine_env ROOT   - exports WINEPREFIX, WINEDEBUG, WINEDLLOVERRIDES, WINELOADER,
#                       SRT_WINE and SRT_WINESERVER (the Wine programs to call) and
#                       SRT_WIN_BUILD: win32 where this machine runs 32-bit
#                       processes, else win64, the x86-64 build of the same sources
#                       (the product stays win32; win64 only runs its tests)
# srt_desktop_size DPI - the size of Wine's desktop in the prefix whose screen
#                       has DPI dots per inch (WIDTHxHEIGHT)
# srt_start_xvfb [DPI] - starts an Xvfb on a free display, as large as the
#                       largest of those desktops, exports DISPLAY, and one
#                       wineserver for the session with the desktop of the
#                       prefix (WINEPREFIX, whose screen has DPI: 96 without)
# srt_stop_session    - stops that Xvfb, the prefix's wineserver and those of
#                       the prefixes at other DPIs (build/wine-dpiN, started on
#                       demand by the tests that run in them)

srt_can_run_32bit() {
  [[ -x /usr/lib/wine/wine ]] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

# Whether the kernel runs 32-bit x86 processes at all (some do not, and then
# 32-bit Wine is of no use): runs a 96-byte i386 program that exits with 42.
# SRT_RUNS_32BIT=0|1 overrides the probe (the setup's tests use it).
srt_kernel_runs_32bit() {
  case ${SRT_RUNS_32BIT:-} in 0) return 1 ;; 1) return 0 ;; esac
  local probe rc=0
  probe=$(mktemp) || return 1
  printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'\
'\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'\
'\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00'\
'\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08'\
'\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00'\
'\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
  chmod +x "$probe"
  "$probe" </dev/null >/dev/null 2>&1 || rc=$?
  rm -f "$probe"
  ((rc == 42))
}

srt_wine_env() {
  export LC_ALL=C.UTF-8
  export WINEPREFIX="$1/build/wine"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  if srt_can_run_32bit; then
    export SRT_WINE=/usr/lib/wine/wine SRT_WIN_BUILD=win32
  else
    export SRT_WINE=/usr/lib/wine/wine64 SRT_WIN_BUILD=win64
  fi
  if [[ -x /usr/lib/wine/wineserver64 ]]; then
    export SRT_WINESERVER=/usr/lib/wine/wineserver64
  else
    export SRT_WINESERVER=/usr/lib/wine/wineserver32
  fi
  export WINELOADER=$SRT_WINE
}

# The main prefix's desktop (96 DPI) is the one its pictures were taken on;
# scaled windows need more room (the main window is 1008 pixels high at 192
# DPI). The desktops share the one X screen, which stays 1280x1024: on a
# larger X screen Wine 8 places synthesized mouse input wrongly and the tests
# that click fail. The gallery's controls page (1296 wide at 192 DPI) is
# therefore not shot at 192.
srt_desktop_size() {
  if (($1 <= 96)); then
    echo 1024x768
  else
    echo 1280x1024
  fi
}
srt_screen_size=1280x1024

srt_xvfb_pid=""
srt_start_xvfb() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${srt_screen_size}x24" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  srt_xvfb_pid=$!
  local display
  read -r -t 20 display <"$fifo" || true
  rm -f "$fifo"
  if [[ -z $display ]]; then
    echo "could not start Xvfb" >&2
    return 1
  fi
  export DISPLAY=":$display"
  # One persistent wineserver, its services and the desktop for the whole
  # session, started with null descriptors: Wine's background processes
  # inherit them and would otherwise hold a caller's output pipe open (ctest
  # then waits for its timeout).
  if [[ -n ${SRT_WINESERVER:-} ]]; then
    "$SRT_WINESERVER" -p </dev/null >/dev/null 2>&1 || true
    "$SRT_WINE" wineboot </dev/null >/dev/null 2>&1 || true
    "$SRT_WINE" explorer.exe /desktop=Default,"$(srt_desktop_size "${1:-96}")" </dev/null >/dev/null 2>&1 &
    sleep 1
  fi
}

srt_stop_session() {
  if [[ -n ${WINEPREFIX:-} && -n ${SRT_WINESERVER:-} ]]; then
    "$SRT_WINESERVER" -k >/dev/null 2>&1 || true
    local prefix
    for prefix in "$WINEPREFIX"-dpi*; do
      [[ -d $prefix ]] && WINEPREFIX=$prefix "$SRT_WINESERVER" -k >/dev/null 2>&1 || true
    done
  fi
  if [[ -n $srt_xvfb_pid ]]; then
    kill "$srt_xvfb_pid" 2>/dev/null || true
    wait "$srt_xvfb_pid" 2>/dev/null || true
    srt_xvfb_pid=""
  fi
}
