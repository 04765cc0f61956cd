# Shared by the tests that run the Windows programs under Wine in a virtual X
# display (sourced by test_windows.sh and test_dist.sh). Every wait is bounded.
# wine_session_start WORK starts Xvfb and a fresh Wine prefix inside WORK;
# wine_session_stop ends both.

xvfb_pid=""
wine_session_prefix=""

# Ids of the top-level X windows that carry exactly this title.
windows_named() { xdotool search --name "^$1\$" 2>/dev/null; }

# Waits (at most $2 tenths of a second) until process $1 has ended.
wait_for_end() {
  local pid=$1 tenths=$2
  while [ "$tenths" -gt 0 ] && kill -0 "$pid" 2>/dev/null; do sleep 0.1; tenths=$((tenths - 1)); done
  ! kill -0 "$pid" 2>/dev/null
}

# Waits (at most $3 tenths of a second) until at least $2 windows carry title $1.
wait_for_windows() {
  local title=$1 count=$2 tenths=$3
  while [ "$tenths" -gt 0 ]; do
    [ "$(windows_named "$title" | wc -l)" -ge "$count" ] && return 0
    sleep 0.1
    tenths=$((tenths - 1))
  done
  return 1
}

# The narrowest of the windows with title $1: a message box in front of its wait window.
narrowest_window() {
  local id best="" best_width=100000
  for id in $(windows_named "$1"); do
    eval "$(xdotool getwindowgeometry --shell "$id")"
    if [ "$WIDTH" -lt "$best_width" ]; then best=$id; best_width=$WIDTH; fi
  done
  echo "$best"
}

# Presses Return in the window $1 (the default button of a message box).
press_return() {
  xdotool windowfocus --sync "$1" >/dev/null 2>&1
  xdotool key Return >/dev/null 2>&1
}

# Starts a virtual display and a fresh Wine prefix in folder $1 (its logs go
# there too). On success DISPLAY names the display; on failure the end of the
# log is printed and the status is 1.
wine_session_start() {
  local work=$1
  export WINEPREFIX="$work/wineprefix"
  wine_session_prefix=$WINEPREFIX
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="  # no prompts to fetch Mono or Gecko
  unset WINEARCH
  exec 3>"$work/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  exec 3>&-
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  if [ ! -s "$work/display" ]; then
    cat "$work/xvfb.log"
    return 1
  fi
  export DISPLAY=":$(head -1 "$work/display")"
  if timeout 300 wineboot -i >"$work/wineboot.log" 2>&1 &&
     # Wine draws the frames itself: there is no window manager in the virtual display.
     timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$work/wineboot.log" 2>&1 &&
     timeout 60 wineserver -w; then
    return 0
  fi
  tail -20 "$work/wineboot.log"
  return 1
}

wine_session_stop() {
  if [ -n "$wine_session_prefix" ] && [ -d "$wine_session_prefix" ]; then
    WINEPREFIX=$wine_session_prefix timeout 30 wineserver -k >/dev/null 2>&1
  fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; fi
  xvfb_pid=""
}

# Runs scenario_compiler.exe of folder $1 under Wine (at most 300 s), its
# output into $2; the status is the program's. A second window of the
# program's title is a failure report: it is pictured into $2.png and closed.
run_compiler_under_wine() {
  local folder=$1 log=$2 run_pid tenths=3000 box
  (cd "$folder" && exec timeout 300 wine scenario_compiler.exe >"$log" 2>&1) &
  run_pid=$!
  while [ "$tenths" -gt 0 ] && kill -0 "$run_pid" 2>/dev/null; do
    if [ "$(windows_named scenario_compiler | wc -l)" -ge 2 ]; then
      box=$(narrowest_window scenario_compiler)
      import -window root "$log.png" 2>/dev/null
      echo "    the Windows run showed a message box: $log.png"
      press_return "$box"
      wait_for_end "$run_pid" 100
      break
    fi
    sleep 0.1
    tenths=$((tenths - 1))
  done
  kill "$run_pid" 2>/dev/null
  wait "$run_pid"
}
