#!/usr/bin/env bash
# The one X server and the one Wine session that all Wine tests share, as a ctest fixture:
#   wine_env.sh start RUNDIR   a fresh Xvfb (1024x768), a fresh prefix (wineboot -i) and a
#                              wineserver kept alive for the whole run; RUNDIR/env for the tests
#   wine_env.sh stop RUNDIR    ends the wineserver and the X server
set -euo pipefail
action="$1"; run="$2"
wineBin=/usr/lib/wine
[ -x "$wineBin/wine64" ] || wineBin="$(dirname "$(command -v wine64 || echo /missing/wine64)")"

stop() {
  if [ -f "$run/env" ]; then
    source "$run/env"
    "$wineBin/wineserver" -k 2>/dev/null || true
  fi
  [ -f "$run/xvfb.pid" ] && kill "$(cat "$run/xvfb.pid")" 2>/dev/null || true
  rm -f "$run/env" "$run/xvfb.pid"
}

case "$action" in
  start)
    # Without Wine (a plain ctest run on a machine set up by hand) the suite is skipped, not failed.
    [ -x "$wineBin/wine64" ] || { echo "SKIPPED: wine64 is not installed (./qorin test installs it)"; exit 77; }
    stop
    rm -rf "$run"
    mkdir -p "$run"
    # -displayfd picks a free display number and reports it once the server is ready.
    setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$run/display" </dev/null >"$run/xvfb.log" 2>&1 &
    echo $! > "$run/xvfb.pid"
    for _ in $(seq 100); do [ -s "$run/display" ] && break; sleep 0.05; done
    [ -s "$run/display" ] || { echo "FAIL: Xvfb did not start: $(cat "$run/xvfb.log")"; exit 1; }
    cat > "$run/env" <<ENV
export DISPLAY=:$(cat "$run/display")
export WINEPREFIX="$run/prefix"
export WINEDEBUG=-all
# No Mono or Gecko: the programs need neither, and the prefix is made offline.
export WINEDLLOVERRIDES="mscoree,mshtml="
wine="$wineBin/wine64"
ENV
    source "$run/env"
    # One persistent wineserver: every program started later finds it ready.
    mkdir -p "$WINEPREFIX"
    setsid "$wineBin/wineserver" -p </dev/null >"$run/wineserver.log" 2>&1
    start=$SECONDS
    "$wineBin/wine64" wineboot -i </dev/null >"$run/wineboot.log" 2>&1 \
      || { echo "FAIL: wineboot -i: $(tail -5 "$run/wineboot.log")"; stop; exit 1; }
    # No window manager runs on the X server: Wine draws the captions itself (the About box's title).
    "$wineBin/wine64" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >>"$run/wineboot.log" 2>&1
    echo "Wine prefix made in $((SECONDS - start)) s on display $DISPLAY"
    ;;
  stop) stop ;;
  *) echo "usage: wine_env.sh start|stop RUNDIR" >&2; exit 2 ;;
esac
