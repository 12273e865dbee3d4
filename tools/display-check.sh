#!/usr/bin/env bash
# The desktop path measured in a real X window (Xvfb at 1920x1080), with the presses of the
# program's bench script: the time from start-up to the first picture on the screen, the median
# cost of showing a frame (and of its copy into the window surface), and the processor use of the
# program over 5 s while it runs and while Space is held (frozen).
#   tools/display-check.sh [PROGRAM]      (default Qorin1; build first)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
program="${1:-Qorin1}"
binary="$build/bin/$program"
[ -x "$binary" ] || die "build first (no $binary)"
tmp="$(mktemp -d)"
display=":$(( 200 + RANDOM % 100 ))"
xvfbPid=""; programPid=""
cleanup() {
  [ -n "$programPid" ] && kill "$programPid" 2>/dev/null || true
  [ -n "$xvfbPid" ] && kill "$xvfbPid" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT

Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >"$tmp/xvfb.log" 2>&1 &
xvfbPid=$!
export DISPLAY="$display"
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done
xdotool getdisplaygeometry >/dev/null || die "Xvfb did not start: $(cat "$tmp/xvfb.log")"

(cd "$build/pictures/en/$program" && QORIN_BENCH=1 exec "$binary") >"$tmp/program.log" 2>&1 &
programPid=$!
timeout 10 xdotool search --sync --name "^$program\$" >/dev/null || die "no window: $(cat "$tmp/program.log")"
sleep 1

# The presses of the program's bench script (its busiest frame: panels open, the wave running).
W=1920 H=1080 BAR=0
eval "cat <<QORIN_EOF
$(grep -v '^#' "$root/bench/$program.script")
QORIN_EOF" > "$tmp/presses"
while read -r _ what x y; do
  case "$what" in
    down) xdotool mousemove "$x" "$y" mousedown 1 ;;
    up) xdotool mousemove "$x" "$y" mouseup 1; sleep 0.2 ;;
  esac
done < "$tmp/presses"
sleep 1

# Processor time of the program (user + system) in clock ticks.
ticks() { awk '{print $14 + $15}' "/proc/$programPid/stat"; }
hz="$(getconf CLK_TCK)"
share() { awk -v a="$1" -v b="$2" -v hz="$hz" 'BEGIN{printf "%.3f", (b - a) / hz / 5}'; }

before="$(ticks)"; sleep 5; after="$(ticks)"
running="$(share "$before" "$after")"
xdotool keydown space
sleep 0.5
before="$(ticks)"; sleep 5; after="$(ticks)"
frozen="$(share "$before" "$after")"
xdotool keyup space
sleep 0.3
xdotool key Escape
for _ in $(seq 100); do kill -0 "$programPid" 2>/dev/null || break; sleep 0.05; done
programPid=""

echo "$program 1920x1080 $(grep -o 'first_frame_on_screen_ms=.*' "$tmp/program.log") cores_running=$running cores_space_held=$frozen"
