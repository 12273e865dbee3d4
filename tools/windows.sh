# ./qorin windows: cross-builds every program for Windows with mingw-w64 and packages
# dist/Qorin-windows.zip (one folder per program with its .exe and English pictures, ru/ with the
# Russian set, README.txt). The host build supplies rcgen and the pictures.
#   ./qorin windows [--no-zip]      (--no-zip: build and stage only, as the tests need)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

zip=1
for arg in "$@"; do
  case "$arg" in
    --no-zip) zip=0 ;;
    *) die "unknown option '$arg' (usage: ./qorin windows [--no-zip])" ;;
  esac
done

programs=($(cd "$root" && ls -d Qorin[1-6] 2>/dev/null))
winBuild="$build/windows"
stage="$winBuild/package"
# The DLLs every Windows has; a program may import nothing else.
systemDlls='^(KERNEL32|USER32|GDI32|msvcrt)\.dll$'

ensure_packages build-essential cmake pkg-config libsdl2-dev libstb-dev fonts-liberation2 libgtest-dev \
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64

# The host build, configured as ./qorin configures it, for rcgen and the pictures only.
werror=OFF
[ -n "${CI:-}" ] && werror=ON
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQORIN_WERROR=$werror >&2
fi
cmake --build "$build" -j"$(nproc)" --target rcgen pictures >&2

if [ ! -f "$winBuild/CMakeCache.txt" ]; then
  cmake -S "$root/windows" -B "$winBuild" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DQORIN_HOST_BUILD="$build" -DQORIN_WERROR=$werror >&2
fi
cmake --build "$winBuild" -j"$(nproc)" >&2

# Each .exe must stand alone: only system DLLs in its import table.
for program in "${programs[@]}"; do
  exe="$winBuild/bin/$program.exe"
  dlls="$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')"
  echo "$program.exe imports: $(echo $dlls)" >&2
  foreign="$(grep -Ev "$systemDlls" <<<"$dlls" || true)"
  [ -z "$foreign" ] || die "$program.exe needs DLLs beyond the system's own: $foreign"
done

rm -rf "$stage"
mkdir -p "$stage"
for program in "${programs[@]}"; do
  for lang in en ru; do
    dir="$stage/$program"
    [ "$lang" = ru ] && dir="$stage/ru/$program"
    mkdir -p "$dir"
    cp "$winBuild/bin/$program.exe" "$dir/"
    cp "$build/pictures/$lang/$program/"*.bmp "$dir/"
  done
done
sed 's/$/\r/' "$root/windows/README.txt" > "$stage/README.txt"

[ "$zip" = 1 ] || exit 0
mkdir -p "$root/dist"
rm -f "$root/dist/Qorin-windows.zip"
# Fixed times and a sorted list, so the same sources give the same zip.
(cd "$stage" && find . -type f | sed 's|^\./||' | LC_ALL=C sort > "$winBuild/files.txt" &&
  cmake -E tar cf "$root/dist/Qorin-windows.zip" --format=zip --mtime="2000-01-01 00:00:00" --files-from="$winBuild/files.txt")
echo "dist/Qorin-windows.zip: $(wc -l < "$winBuild/files.txt") files" >&2
