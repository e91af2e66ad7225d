# Sourced by the scripts in tools/ (demo, test, stress, release, verify and the others): installs the Debian packages a step needs when they are missing.
# Usage: varnholt_need <package>...   (as root it installs them; otherwise it says what to install)

varnholt_apt_updated=0

varnholt_need() {
  local missing=()
  local package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  [ "${#missing[@]}" -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages: ${missing[*]}" >&2
    echo "Install them with: sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
  if [ "$varnholt_apt_updated" -eq 0 ]; then
    echo "== apt-get update"
    DEBIAN_FRONTEND=noninteractive apt-get update -q >/dev/null
    varnholt_apt_updated=1
  fi
  echo "== installing ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
}

# What every build here needs.
varnholt_need_base() {
  varnholt_need ca-certificates cmake ninja-build g++ make
}

# The Windows cross build and Wine.
varnholt_need_windows() {
  varnholt_need g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools wine64
  varnholt_need clang lld llvm  # the Microsoft-ABI bridge front of the tests
}

# The Wine loader, or nothing.
varnholt_wine() {
  if [ -x /usr/lib/wine/wine64 ]; then echo /usr/lib/wine/wine64
  elif command -v wine64 >/dev/null; then command -v wine64
  elif command -v wine >/dev/null; then command -v wine
  fi
}
