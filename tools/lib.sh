# Shared by ./qorin and the scripts in tools/: paths, errors and installing Debian packages.
# Source it; it defines root, build, die and ensure_packages.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QORIN_BUILD_DIR:-$root/build}"

die() { echo "qorin: $*" >&2; exit 2; }

# Installs the named Debian packages that are missing (as root), or prints the apt-get line.
ensure_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "qorin: installing ${missing[*]}" >&2
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq >&2
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
  else
    echo "qorin: missing packages; install them with:" >&2
    echo "  sudo apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
}
