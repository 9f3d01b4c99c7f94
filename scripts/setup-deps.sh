#!/usr/bin/env bash
# Installs, with apt-get, whatever of the build and test tools is missing on a
# Debian 12 machine: for the desktop programs, with --web for the page too, with
# --with-tests for everything. Run as root; safe to run again (it only adds
# what lacks).
set -euo pipefail

# Build: compilers, CMake, FLTK for the Linux window, MinGW-w64 for the .exe.
build_pkgs=(g++ cmake make pkg-config libfltk1.3-dev libfontconfig-dev
  libxft-dev libxinerama-dev libxcursor-dev libxfixes-dev libxrender-dev
  g++-mingw-w64-i686-win32 binutils-mingw-w64-i686 fonts-liberation
  zlib1g-dev zip) # zlib writes the installed icon's PNG; zip the Windows zip
# Tests: GoogleTest, Google Benchmark, zlib (to decode the icon PNG), an X
# server and the XTest input extension for the real window, ImageMagick and
# desktop-file-utils for the installed files, unzip for the Windows zip, Wine
# for the .exe: wine32 runs it where the machine runs 32-bit code, wine64 runs
# a 64-bit build of it elsewhere; there QEMU and debootstrap make an emulated
# machine that runs the 32-bit file (tests/vm).
test_pkgs=(libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev clang-format xvfb
  libx11-dev libxtst-dev imagemagick desktop-file-utils unzip
  wine wine32:i386 wine64 g++-mingw-w64-x86-64-posix
  qemu-system-x86 debootstrap)
# The web page (--web, or with the tests): Emscripten (its system libraries
# come prebuilt) and Node, which runs it.
web_pkgs=(emscripten nodejs)
# The page's tests: GoogleTest's sources for the unit tests in WebAssembly,
# Chromium with its WebDriver and Selenium, and Firefox.
test_pkgs+=(googletest chromium chromium-driver python3-selenium firefox-esr)
# The packages for school IT: dpkg-shlibdeps and lintian for the .deb,
# appstreamcli and man for its metainfo and manual pages, debootstrap (above)
# and piuparts to install it into a clean Debian 12; wixl and msitools to make
# the MSI and read it back, faketime to hold their clock at the commit's time.
test_pkgs+=(dpkg-dev lintian appstream man-db piuparts wixl msitools faketime)

ARG=${1:-}
want=("${build_pkgs[@]}")
[ "${1:-}" = "--web" ] && want+=("${web_pkgs[@]}")
[ "${1:-}" = "--with-tests" ] && want+=("${web_pkgs[@]}" "${test_pkgs[@]}")

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

# Where one install of everything fails, the native packages go in on their
# own, then the i386 ones: a mirror mid-sync often lacks just the i386 index
# of the security updates, which leaves wine32 impossible to install but
# nothing else. wine32 only runs the real .exe where the machine runs 32-bit
# code, and the tests prove it otherwise (a 64-bit twin, an emulated PC), so
# its absence is said, not fatal; any other package missing ends the set-up.
install_apart() {
  local native=() foreign=() still=() optional=()
  for p in "$@"; do
    case "$p" in *:i386) foreign+=("$p") ;; *) native+=("$p") ;; esac
  done
  [ ${#native[@]} -eq 0 ] || apt-get install -y -qq --no-install-recommends "${native[@]}" || true
  [ ${#foreign[@]} -eq 0 ] || apt-get install -y -qq --no-install-recommends "${foreign[@]}" || true
  for p in "$@"; do
    installed "$p" && continue
    case "$p" in wine32:i386) optional+=("$p") ;; *) still+=("$p") ;; esac
  done
  if [ ${#optional[@]} -gt 0 ]; then
    echo "setup-deps.sh: not installed: ${optional[*]}; the tests prove the .exe without it" >&2
  fi
  if [ ${#still[@]} -gt 0 ]; then
    echo "setup-deps.sh: apt-get could not install: ${still[*]}" >&2
    echo "The package mirror may be mid-sync; run this again later: bash $0${ARG:+ $ARG}" >&2
    exit 1
  fi
}

missing=()
for p in "${want[@]}"; do
  installed "$p" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing with apt-get: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if printf '%s\n' "${missing[@]}" | grep -q ':i386$' &&
    ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  # A mirror in the middle of a sync fails an index or two for a while: ask
  # again a few times, then go on with the indexes that did come, since
  # every package needed may well be in them.
  for attempt in 1 2 3 4; do
    if apt-get update -qq; then break; fi
    if [ "$attempt" -lt 4 ]; then
      echo "apt-get update failed; trying again in $((attempt * 10)) s"
      sleep $((attempt * 10))
    fi
  done
  apt-get install -y -qq --no-install-recommends "${missing[@]}" ||
    install_apart "${missing[@]}"
fi

# What the page's tests load into the browser (axe-core, scorm-again), at the
# versions the lock file pins; installed again only when the lock file changes.
if [ "${1:-}" = "--with-tests" ]; then
  web=$(dirname "$0")/../tests/web
  if ! cmp -s "$web/package-lock.json" "$web/node_modules/.installed-lock.json" 2>/dev/null; then
    npm ci --prefix "$web" --no-audit --no-fund --loglevel=error
    cp "$web/package-lock.json" "$web/node_modules/.installed-lock.json"
  fi
fi
