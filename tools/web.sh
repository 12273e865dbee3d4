#!/usr/bin/env bash
# ./qorin web [--no-serve] [--port N]: builds every program for the browser with Debian's
# Emscripten into dist/web/ (gallery, one page per program, cards drawn by the headless runner)
# and serves that folder on 127.0.0.1. Reuses build/ (host: pictures, runner) and build-web/.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

serve=1 port=8080
while [ $# -gt 0 ]; do
  case "$1" in
    --no-serve) serve=0; shift ;;
    --port) port="${2:?}"; shift 2 ;;
    *) die "usage: ./qorin web [--no-serve] [--port N]" ;;
  esac
done

webBuild="${QORIN_WEB_BUILD_DIR:-$root/build-web}"
dist="$root/dist/web"
programs=($(cd "$root" && ls -d Qorin[1-6] 2>/dev/null))
# Sizes a program may reach, pictures aside.
maxWasm=$((1024 * 1024))

ensure_packages build-essential cmake pkg-config libsdl2-dev libstb-dev fonts-liberation2 libgtest-dev emscripten
command -v node >/dev/null || ensure_packages nodejs

# The host build: the picture generator and the programs the cards are drawn with.
werror=OFF; [ -n "${CI:-}" ] && werror=ON
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQORIN_WERROR=$werror >&2
fi
cmake --build "$build" -j"$(nproc)" --target pictures "${programs[@]}" >&2

# em++ needs Debian's node modules; Debian's Emscripten cache is prebuilt and stays as it is.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S "$root/web" -B "$webBuild" -DCMAKE_BUILD_TYPE=Release -DQORIN_WERROR=$werror \
  -DQORIN_PICTURES="$build/pictures" >/dev/null
cmake --build "$webBuild" -j"$(nproc)" >&2

rm -rf "$dist"
mkdir -p "$dist/cards"
cp "$root/web/index.html" "$root/web/gallery.js" "$dist/"
cards="$(mktemp -d)"
trap 'rm -rf "$cards"' EXIT
for program in "${programs[@]}"; do
  cp "$webBuild/$program/$program".{html,js,wasm,data} "$dist/"
  # The card: a frame of the program by the headless runner, after its card script if it has one.
  script="" frames=1
  if [ -f "$root/web/cards/$program.script" ]; then
    script="$root/web/cards/$program.script" frames=30
  fi
  # The frame is asked for by number: a program that sleeps after taking its last message ends one
  # more frame before it sees the window close.
  for lang in en ru; do
    # The frame is named: a program that sleeps after its frame's message ends one frame later.
    (cd "$build/pictures/$lang/$program" && QORIN_VIDEO=headless QORIN_SIZE=1024x768 QORIN_SCRIPT="$script" \
      QORIN_FRAMES=$frames QORIN_SHOT=$frames QORIN_OUT="$cards/$program-$lang" "$build/bin/$program" >/dev/null)
    cp "$cards/$program-$lang/frame-$frames.png" "$dist/cards/$program-$lang.png"
  done
done
printf 'window.qorinPrograms = [%s];\n' "$(printf '"%s",' "${programs[@]}" | sed 's/,$//')" > "$dist/programs.js"

echo "built $dist" >&2
tooBig=0
for program in "${programs[@]}"; do
  wasm=$(stat -c %s "$dist/$program.wasm") js=$(stat -c %s "$dist/$program.js") data=$(stat -c %s "$dist/$program.data")
  printf '  %s: %s.wasm %d bytes, %s.js %d bytes (pictures and fonts: %d bytes)\n' \
    "$program" "$program" "$wasm" "$program" "$js" "$data" >&2
  [ "$wasm" -lt "$maxWasm" ] || { echo "qorin: $program.wasm is over 1 MiB" >&2; tooBig=1; }
done
[ "$tooBig" -eq 0 ] || exit 1

if [ "$serve" -eq 1 ]; then
  echo "open the address below; Ctrl+C stops the server" >&2
  exec node "$root/web/serve.js" "$dist" "$port"
fi
