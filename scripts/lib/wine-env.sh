# Sourced by the scripts: the project's Wine prefix and a private Xvfb.
# srt_wine_env ROOT        - exports WINEPREFIX, WINEDEBUG, WINEDLLOVERRIDES
# srt_start_xvfb           - starts an Xvfb on a free display, exports DISPLAY
# srt_stop_session         - stops that Xvfb and the prefix's wineserver

srt_wine_env() {
  export WINEPREFIX="$1/build/wine"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
}

srt_xvfb_pid=""
srt_start_xvfb() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  srt_xvfb_pid=$!
  local display
  read -r -t 20 display <"$fifo" || true
  rm -f "$fifo"
  if [[ -z $display ]]; then
    echo "could not start Xvfb" >&2
    return 1
  fi
  export DISPLAY=":$display"
}

srt_stop_session() {
  if [[ -n ${WINEPREFIX:-} ]]; then
    wineserver -k >/dev/null 2>&1 || true
  fi
  if [[ -n $srt_xvfb_pid ]]; then
    kill "$srt_xvfb_pid" 2>/dev/null || true
    wait "$srt_xvfb_pid" 2>/dev/null || true
    srt_xvfb_pid=""
  fi
}
