# Shared by the scripts that run the real window in a virtual X server.
# Source it with ". scripts/xvfb-lib.sh"; the caller kills $xvfb_pid when done.

# Starts Xvfb (800 x 600, so the window opens at 1x) on a free display and
# exports DISPLAY. $1: a scratch folder. -noreset: an X server resets itself
# when its last client leaves, and a program connecting during the reset is
# refused; between two programs of a test nothing else may be connected.
start_xvfb() {
  Xvfb -displayfd 5 -screen 0 800x600x24 -nolisten tcp -noreset 5>"$1/display" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$1/display" ] && break; sleep 0.05; done
  DISPLAY=:$(cat "$1/display")
  export DISPLAY
}

# Prints the id of the first visible window whose name matches $1, waiting up
# to 10 s (a loaded machine shows it in well under one); prints nothing when
# none appears.
wait_for_window() {
  found=""
  for _ in $(seq 500); do
    found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
    [ -n "$found" ] && break
    sleep 0.02
  done
  echo "$found"
}

# Runs the command "$@" every 50 ms until it succeeds; fails after 10 s.
await() {
  for _ in $(seq 200); do
    "$@" && return 0
    sleep 0.05
  done
  return 1
}

# Makes a scratch folder ($work); when the script exits, the program started
# as $orvo_pid and Xvfb are ended and the folder is removed.
begin_session() {
  work=$(mktemp -d)
  xvfb_pid=""
  orvo_pid=""
  trap end_session EXIT
}

end_session() {
  if [ -n "$orvo_pid" ]; then
    kill "$orvo_pid" 2>/dev/null || true
    wait "$orvo_pid" 2>/dev/null || true
  fi
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
