#!/usr/bin/env bash
# Golden frames: hashes of chosen frames of every program at several sizes, under two scripts
# (the benchmark's busiest frame and a walk over the controls), and a third where
# tools/golden/PROGRAM.script exists (what the other two do not reach, such as a second scene). Record them before a change to
# the drawing code and check them after it: every pixel must stay the same.
#   tools/golden.sh record DIR [PROGRAM...]     tools/golden.sh check DIR [PROGRAM...]
# With programs named, only their lines are recorded or checked (the others in DIR are kept).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

mode="${1:-}"; dir="${2:-}"
[[ ( "$mode" = record || "$mode" = check ) && -n "$dir" ]] || die "usage: tools/golden.sh record|check DIR [PROGRAM...]"
shift 2
programs=("$@")
[ ${#programs[@]} -gt 0 ] || programs=($(cd "$root" && ls -d Qorin[1-6] 2>/dev/null))
for program in "${programs[@]}"; do
  [ -x "$build/bin/$program" ] || die "build first (no $build/bin/$program)"
done
sizes=(640x480 1024x768 1366x768 1920x1080 3840x2160)
frames=80
shots=1,2,4,7,12,20,31,47,61,80

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# One line per run: PROGRAM SIZE SCRIPTNAME SCRIPTPATH.
for program in "${programs[@]}"; do
  for size in "${sizes[@]}"; do
    W="${size%x*}" H="${size#*x}" BAR=0
    [ "$W" -lt 850 ] && BAR=$(( W - 850 < -190 ? -190 : W - 850 ))
    export W H BAR
    names=(bench sweep)
    [ -f "$root/tools/golden/$program.script" ] && names+=(extra)
    for name in "${names[@]}"; do
      source="$root/bench/$program.script"
      [ "$name" = sweep ] && source="$root/tools/golden/sweep.script"
      [ "$name" = extra ] && source="$root/tools/golden/$program.script"
      script="$work/$program-$size-$name.script"
      eval "cat <<QORIN_EOF
$(cat "$source")
QORIN_EOF" > "$script"
      echo "$program $size $name $script"
    done
  done
done > "$work/runs"

runOne() {
  local program="$1" size="$2" name="$3" script="$4"
  local out="$work/$program-$size-$name"
  mkdir -p "$out"
  local last
  last="$(cd "$build/pictures/en/$program" && QORIN_VIDEO=headless QORIN_SIZE="$size" QORIN_SCRIPT="$script" \
    QORIN_FRAMES=$frames QORIN_SHOT=$shots QORIN_OUT="$out" "$build/bin/$program" | tail -n 1)"
  local f
  for f in $(cd "$out" && ls frame-*.png 2>/dev/null | sort -V); do
    echo "$program $size $name ${f%.png} $(md5sum < "$out/$f" | cut -c1-32)"
  done
  echo "$program $size $name end $last"
  rm -rf "$out"
}
export -f runOne
export build work frames shots

xargs -P 2 -L 1 bash -c 'runOne "$@"' _ < "$work/runs" | sort -V > "$work/hashes.txt"

# The lines of the programs run here, from a file of hashes.
ownLines() {
  local pattern
  pattern="^($(IFS='|'; echo "${programs[*]}")) "
  grep -E "$pattern" "$1" || true
}

if [ "$mode" = record ]; then
  mkdir -p "$dir"
  touch "$dir/hashes.txt"
  { grep -v -E "^($(IFS='|'; echo "${programs[*]}")) " "$dir/hashes.txt" || true; cat "$work/hashes.txt"; } |
    sort -V > "$work/merged.txt"
  cp "$work/merged.txt" "$dir/hashes.txt"
  echo "golden: recorded $(wc -l < "$work/hashes.txt") lines in $dir/hashes.txt"
else
  [ -f "$dir/hashes.txt" ] || die "no $dir/hashes.txt"
  ownLines "$dir/hashes.txt" > "$work/expected.txt"
  [ -s "$work/expected.txt" ] || die "no recorded lines for ${programs[*]} in $dir/hashes.txt"
  if diff "$work/expected.txt" "$work/hashes.txt" > "$work/diff"; then
    echo "golden: all $(wc -l < "$work/expected.txt") lines identical"
  else
    cat "$work/diff"
    echo "golden: frames differ" >&2
    exit 1
  fi
fi
