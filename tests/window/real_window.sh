#!/usr/bin/env bash
# Qorin1 in a real X window (Xvfb) on the desktop backend, driven like a person would with
# xdotool and seen through screenshots: the start click shows the pause face, the waves move,
# a held Space freezes the picture, and Escape ends the program. Every run checks its own
# presents (QORIN_CHECK_PRESENT): a present that writes only the changed tiles must leave the
# window as a full one would, and hand every changed pixel to the display.
# Usage: real_window.sh QORIN1_BINARY PICTURE_FOLDER
set -euo pipefail
binary="$1"; pictures="$2"
tmp="$(mktemp -d)"
display=":$(( 90 + RANDOM % 100 ))"
xvfbPid=""; programPid=""
cleanup() {
  [ -n "$programPid" ] && kill "$programPid" 2>/dev/null || true
  [ -n "$xvfbPid" ] && kill "$xvfbPid" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; cp "$tmp"/*.png /tmp/ 2>/dev/null || true; exit 1; }

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$tmp/xvfb.log" 2>&1 &
xvfbPid=$!
export DISPLAY="$display"
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done
xdotool getdisplaygeometry >/dev/null || fail "Xvfb did not start: $(cat "$tmp/xvfb.log")"

(cd "$pictures" && QORIN_CHECK_PRESENT=1 exec "$binary") >"$tmp/program.log" 2>&1 &
programPid=$!
timeout 10 xdotool search --sync --name '^Qorin1$' >/dev/null || fail "no window: $(cat "$tmp/program.log")"
sleep 0.5

shot() { xwd -root -silent | convert xwd:- "png:$tmp/$1.png"; }
# Pixels that differ between an area of a screenshot and a picture (or another screenshot).
differ() { compare -metric AE "$1" "$2" null: 2>&1 | sed 's/ .*//' || true; }
crop() { convert "$tmp/$1.png" -crop "$2" +repage "png:$tmp/$1-$3.png"; echo "$tmp/$1-$3.png"; }

shot start
[ "$(differ "$(crop start 150x50+201+713 face)" "$pictures/s.bmp")" = 0 ] || fail "no start face at (201, 713)"

xdotool mousemove 276 738 click 1
sleep 0.5
shot running1
sleep 0.3
shot running2
[ "$(differ "$(crop running1 150x50+201+713 face)" "$pictures/p.bmp")" = 0 ] || fail "no pause face after the click"
[ "$(differ "$(crop running1 800x142+201+101 wave)" "$(crop running2 800x142+201+101 wave)")" != 0 ] \
  || fail "the waves did not move"

xdotool keydown space
sleep 0.3
shot frozen1
sleep 0.4
shot frozen2
xdotool keyup space
[ "$(differ "$tmp/frozen1.png" "$tmp/frozen2.png")" = 0 ] || fail "the picture moved while Space was held"
sleep 0.3
shot thawed
[ "$(differ "$tmp/frozen2.png" "$tmp/thawed.png")" != 0 ] || fail "the picture stayed frozen after Space was released"

xdotool key Escape
for _ in $(seq 100); do kill -0 "$programPid" 2>/dev/null || break; sleep 0.05; done
kill -0 "$programPid" 2>/dev/null && fail "Escape did not end the program"
set +e; wait "$programPid"; code=$?; set -e
programPid=""
echo "Qorin1 ended on Escape with exit code $code"
[ "$code" -lt 128 ] || fail "the program died from a signal ($code)"

# The presents of a run that animated: some only wrote changed tiles, and none went wrong.
check_presents() {
  local line; line="$(grep -o 'present_checks=[0-9]* present_wrong_pixels=[0-9]*' "$tmp/program.log" || true)"
  echo "presents on $1: ${line:-none}"
  [ -n "$line" ] || fail "no present check on $1: $(cat "$tmp/program.log")"
  local checks="${line#present_checks=}"; checks="${checks%% *}"
  [ "$checks" -gt 10 ] || fail "only $checks partial presents on $1"
  [ "${line##*=}" = 0 ] || fail "partial presents went wrong on $1: $line"
}
end_program() {
  xdotool key Escape
  for _ in $(seq 100); do kill -0 "$programPid" 2>/dev/null || break; sleep 0.05; done
  wait "$programPid" 2>/dev/null || true
  programPid=""
}
check_presents 1024x768

# A high-density screen: 3840x2160 shows the 1920x1080 picture at 2x, and clicks map back.
restart_display() {
  kill "$programPid" 2>/dev/null || true; wait "$programPid" 2>/dev/null || true
  kill "$xvfbPid" 2>/dev/null || true; wait "$xvfbPid" 2>/dev/null || true
  display=":$(( 90 + RANDOM % 100 ))"; export DISPLAY="$display"
  Xvfb "$display" -screen 0 "$1" -nolisten tcp >"$tmp/xvfb.log" 2>&1 &
  xvfbPid=$!
  for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done
  (cd "$pictures" && QORIN_CHECK_PRESENT=1 exec "$binary") >"$tmp/program.log" 2>&1 &
  programPid=$!
  timeout 10 xdotool search --sync --name '^Qorin1$' >/dev/null || fail "no window on $1: $(cat "$tmp/program.log")"
  sleep 0.5
}
restart_display 3840x2160x24
convert "$pictures/s.bmp" -scale 200% "png:$tmp/s2x.png"
convert "$pictures/p.bmp" -scale 200% "png:$tmp/p2x.png"
shot dense
[ "$(differ "$(crop dense 300x100+402+2050 face)" "$tmp/s2x.png")" = 0 ] || fail "no 2x start face at (402, 2050)"
xdotool mousemove 552 2100 click 1
sleep 0.5
shot dense2
[ "$(differ "$(crop dense2 300x100+402+2050 face)" "$tmp/p2x.png")" = 0 ] || fail "the 2x click did not start the waves"
sleep 0.5
end_program
check_presents 3840x2160

# A screen under 640x480 gets a 640x480 picture scaled to fit, centred between black margins.
restart_display 600x400x24
shot small
[ "$(convert "$tmp/small.png" -format '%[hex:p{5,200}]' info:)" = 000000 ] || fail "no black margin on the left"
[ "$(convert "$tmp/small.png" -format '%[hex:p{300,90}]' info:)" = FFFFFF ] || fail "no white page in the middle"
# Start: the button's logical (86, 450) is at (33 + 86 * 533 / 640, 450 * 400 / 480) on the display.
xdotool mousemove 104 375 click 1
sleep 1
end_program
check_presents 600x400

echo "real window: 1 passed, 0 failed"
