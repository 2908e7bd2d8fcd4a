# Shared by the scripts that run Orvo's Windows programs under Wine. Source it
# with ". scripts/wine-lib.sh", then call wine_session PREFIX once before
# running programs with "wine PROGRAM".

# Wine's own dialogs never show (no crash dialog to wait on, no offer to
# install Mono or Gecko), and its gamepad driver does not poll: a test, and
# a measure of the game's idle CPU, see only the game.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d;winebus.sys=d"
export WINEDEBUG=-all
# Wine names files in the locale's encoding: under C or POSIX (a bare
# machine's shell, a container, "env -i") it cannot open a file whose name
# is not ASCII. The tests name folders in Greek and German, so every Wine
# process runs in the one UTF-8 locale every system has, whatever the caller's.
export LC_ALL=C.UTF-8

# Starts a lasting Wine session in the prefix $1, made and configured on
# first use. The first Wine process starts Wine's background processes, which
# inherit its standard streams: started here with all three redirected, they
# never hold a test's pipe open (CTest would wait on it for ever). Idempotent
# and safe to call from several processes at once.
wine_session() {
  export WINEPREFIX="$1"
  mkdir -p "$(dirname "$WINEPREFIX")"
  # One caller sets up the prefix; the others wait for it.
  # A lock older than ten minutes was left by a run that was killed.
  waited=0
  until mkdir "$WINEPREFIX.lock" 2>/dev/null; do
    waited=$((waited + 1))
    [ "$waited" -gt 6000 ] && rmdir "$WINEPREFIX.lock" 2>/dev/null
    sleep 0.1
  done
  if [ ! -f "$WINEPREFIX/.orvo-ready" ]; then
    wineserver -p </dev/null >/dev/null 2>&1 || true
    wine wineboot --init </dev/null >/dev/null 2>&1 || true
    # Without a window manager Wine waits 2 s on every closing window for
    # one; "unmanaged" windows close at once. Keys go to the focused window.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
      </dev/null >/dev/null 2>&1
    wineserver -w || true
    touch "$WINEPREFIX/.orvo-ready"
  fi
  # A lasting server (this fails when one runs already), and Wine's services
  # running before the first test.
  wineserver -p </dev/null >/dev/null 2>&1 || true
  wine wineboot </dev/null >/dev/null 2>&1 || true
  rmdir "$WINEPREFIX.lock"
}

# Ends the session of $WINEPREFIX: every Wine process of it, and waits until
# its server has gone (a program started meanwhile would meet it dying).
end_wine_session() {
  [ -n "${WINEPREFIX:-}" ] || return 0
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}
