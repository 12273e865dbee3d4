# Run by ./qorin test after the main build: installs what the Wine tests need and makes the
# Windows build they run (build/windows/package, one folder per program), without the zip.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

ensure_packages g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine64 xvfb xdotool imagemagick x11-apps
bash "$root/tools/windows.sh" --no-zip
