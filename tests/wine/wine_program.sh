#!/usr/bin/env bash
# One program's Windows build under Wine, on the shared X server of wine_env.sh, driven with
# xdotool: it covers the screen; its first frame matches our own layer's frame outside the text
# boxes (for a program that starts paused); a click on start/pause flips the face; ALT+? opens
# "About PROGRAM" and Enter closes it; Escape ends it.
# Usage: wine_program.sh RUNDIR PROGRAM PACKAGE_DIR HOST_BINARY HOST_PICTURES CONF KNOWN_DIFF OUTDIR
set -euo pipefail
run="$1"; program="$2"; package="$3"; hostBinary="$4"; pictures="$5"; conf="$6"; knownDiff="$7"; out="$8"

fail() { echo "FAIL: $program: $*" >&2; exit 1; }
skip() { echo "SKIPPED: $program: $*"; exit 77; }
[ -x /usr/lib/wine/wine64 ] || command -v wine64 >/dev/null || skip "wine64 is not installed (./qorin test installs it)"
[ -d "$package" ] || skip "no Windows build (./qorin windows, or ./qorin test, makes it)"
[ -f "$run/env" ] || fail "no Wine session (the wine_setup test starts it)"
source "$run/env"
[ -f "$package/$program.exe" ] || fail "no $package/$program.exe: make the Windows build first (./qorin windows)"
read -r _ face textBoxes < <(awk -v p="$program" '$1 == p' "$conf") || true
[ -n "${face:-}" ] || fail "no line for $program in $conf (its start/pause face and text boxes)"
faceX="${face%,*}"; faceY="${face#*,}"
[ -f "$knownDiff" ] || knownDiff=/dev/null   # a new program: no known differences yet
rm -rf "$out"; mkdir -p "$out"

programPid=""
cleanup() { [ -n "$programPid" ] && kill "$programPid" 2>/dev/null || true; }
trap cleanup EXIT

shot() { xwd -root -silent | convert xwd:- "png:$out/$1.png"; }
differ() { compare -metric AE "$1" "$2" null: 2>&1 | sed 's/ .*//' || true; }
faceIs() {  # the start/pause face on a screenshot equals a picture
  convert "$out/$1.png" -crop "150x50+$faceX+$faceY" +repage "png:$out/$1-face.png"
  [ "$(differ "$out/$1-face.png" "$2")" = 0 ]
}
waitFor() {  # waitFor SECONDS COMMAND...: retries the command every 0.1 s
  local tries=$(( $1 * 10 )); shift
  for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.1; done
  return 1
}

# The pointer rests at (0, 0), over no control, as on our layer at start.
xdotool mousemove 0 0
started=$SECONDS
(cd "$package" && exec "$wine" "$program.exe") >"$out/wine.log" 2>&1 &
programPid=$!
waitFor 30 xdotool search --name "^$program\$" >/dev/null || fail "no window named $program: $(cat "$out/wine.log")"
window="$(xdotool search --name "^$program\$" | head -1)"
geometry="$(xdotool getwindowgeometry "$window" | tr -d '\n')"
[[ "$geometry" =~ Position:\ 0,0.*Geometry:\ 1024x768 ]] || fail "the window does not cover the 1024x768 screen: $geometry"

# The first frame is on the screen once the start face is, or the pause face for a program that
# runs from the start; the click on it further down then shows the other one.
firstFace=s.bmp clickedFace=p.bmp
waitFor 20 eval 'shot first && { faceIs first "$pictures/s.bmp" || faceIs first "$pictures/p.bmp"; }' ||
  fail "no start or pause face at ($faceX, $faceY) within 20 s"
faceIs first "$pictures/s.bmp" || { firstFace=p.bmp; clickedFace=s.bmp; }
echo "$program: window and first frame after $((SECONDS - started)) s, showing $firstFace"

# Our own layer's frames 1 and 10 with no input: equal when the program starts paused.
(cd "$pictures" && QORIN_VIDEO=headless QORIN_SIZE=1024x768 QORIN_SCRIPT= QORIN_FRAMES=10 QORIN_SHOT=1,10 \
  QORIN_OUT="$out/ours" "$hostBinary") >"$out/ours.log" 2>&1 || fail "our runner failed: $(cat "$out/ours.log")"
if [ "$(differ "$out/ours/frame-1.png" "$out/ours/frame-10.png")" = 0 ]; then
  sleep 0.3; shot first   # a paused program has drawn the same frame again by now
  # Black out the text boxes on both sides: fonts differ between the two systems by design.
  draw=""
  for box in $textBoxes; do
    IFS=, read -r x y w h <<<"$box"
    draw="$draw rectangle $x,$y $((x + w - 1)),$((y + h - 1))"
  done
  convert "$out/first.png" -fill black -draw "${draw:-point -1,-1}" "png:$out/wine-masked.png"
  convert "$out/ours/frame-1.png" -fill black -draw "${draw:-point -1,-1}" "png:$out/ours-masked.png"
  convert "$out/wine-masked.png" "$out/ours-masked.png" -compose difference -composite -threshold 0 \
    "png:$out/diff.png"
  convert "$out/diff.png" txt:- | awk -F'[,: ]+' 'NR > 1 && $0 !~ /#000000/ {print $1, $2}' > "$out/differing.txt"
  # Known differences: pixels where Wine's rasterizer departs from ours (platform/README.md),
  # one "x y" line each after the '#' comment lines.
  grep -v '^#' "$knownDiff" > "$out/known.txt" || true
  newPixels="$(grep -vxF -f "$out/known.txt" "$out/differing.txt" || true)"
  goneCount="$(grep -cvxF -f "$out/differing.txt" "$out/known.txt" || true)"
  echo "$program: $(wc -l < "$out/differing.txt") pixels differ between Wine and our layer outside text" \
       "($goneCount known ones now agree)"
  if [ -n "$newPixels" ]; then
    read -r x y <<<"$(head -1 <<<"$newPixels")"
    fail "$(wc -l <<<"$newPixels") pixels differ beyond the known ones; first at ($x, $y):" \
         "Wine $(convert "$out/first.png" -format "%[hex:p{$x,$y}]" info:)," \
         "ours $(convert "$out/ours/frame-1.png" -format "%[hex:p{$x,$y}]" info:); see $out/{first.png,ours/frame-1.png,diff.png}"
  fi
else
  echo "$program: starts running; no frame comparison"
fi

xdotool mousemove $((faceX + 75)) $((faceY + 25)) click 1
waitFor 5 eval 'shot clicked && faceIs clicked "$pictures/$clickedFace"' || fail "the click on start/pause did not show $clickedFace"

xdotool key alt+question
waitFor 10 xdotool search --name "^About $program\$" >/dev/null || fail "ALT+? opened no window named \"About $program\""
sleep 0.3; shot about
xdotool key Return
waitFor 10 eval '! xdotool search --name "^About $program\$" >/dev/null' || fail "Enter did not close the About box"
kill -0 "$programPid" 2>/dev/null || fail "the program ended with the About box"

# The exit code is the word of the last message the program picked up. A pointer move (word 0)
# goes first and is picked up within a few frames; then Escape's own key message (VK_ESCAPE, 27)
# is the last one, unless the loop test sees the key down before the pump reaches its message.
xdotool mousemove 1 1
sleep 0.5
xdotool key Escape
waitFor 10 eval '! kill -0 "$programPid" 2>/dev/null' || fail "Escape did not end the program"
set +e; wait "$programPid"; code=$?; set -e
programPid=""
[ "$code" = 27 ] || [ "$code" = 0 ] || fail "Escape ended the program with exit code $code, not 27 (VK_ESCAPE) or 0"
echo "$program: Escape ended it with exit code $code"
echo "$program: passed in $((SECONDS - started)) s"
