#!/usr/bin/env bash
# Run by ./qorin test before ctest: installs what the browser tests need (Emscripten, Chromium,
# node and npm, playwright-core as pinned in tests/web/package-lock.json) and builds dist/web.
# Both steps are skipped when nothing changed.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

ensure_packages emscripten chromium
command -v node >/dev/null || ensure_packages nodejs
command -v npm >/dev/null || ensure_packages npm

tests="$root/tests/web"
if [ ! -f "$tests/node_modules/.package-lock.json" ] || [ "$tests/package-lock.json" -nt "$tests/node_modules/.package-lock.json" ]; then
  (cd "$tests" && npm ci --no-audit --no-fund >&2)
fi

bash "$root/tools/web.sh" --no-serve

# A build configured before tests/web existed has no web tests yet: configure it again.
[ -f "$build/tests/web/CTestTestfile.cmake" ] || cmake "$build" >&2
