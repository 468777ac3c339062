# Shared by scripts/test and scripts/demo: install what is missing, build.
# Debian packages only, installed with apt-get.

STMTLINK_PACKAGES=(
  g++ cmake ninja-build pkg-config
  libsqlite3-dev libgtest-dev libgmock-dev
  libxml2-utils libxml2-dev
  qt6-base-dev libfontconfig-dev libxcb1-dev fonts-ipafont-gothic qt6-translations-l10n
  poppler-utils
  hledger sqlite3
  clang libclang-rt-14-dev
  xvfb
  ledger
)

install_missing_packages() {
  local missing=()
  for package in "${STMTLINK_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$package")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "Installing missing Debian packages: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
  fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The one configuration of build/, shared by scripts/demo and scripts/test:
# a demo followed by the test rebuilds nothing. Warnings are errors in it;
# a plain user build (see README) only shows them.
# Debug information is line tables only (-g1): the file and line that the
# sanitizers, a backtrace and a profiler need, for about a fifth less
# compile time than full debug information. A build by hand (README) keeps
# CMake's defaults.
# build/ is a Release build (-O3, where g++ 12 warns differently than at
# -O2, so its warnings are kept at zero too) with those line tables.
STMTLINK_LINE_TABLES=("-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" "-DCMAKE_CXX_FLAGS_DEBUG=-g1")
STMTLINK_BUILD_OPTIONS=(-DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O3 -g1 -DNDEBUG"
  -DSTMTLINK_WERROR=ON)

# build_tree DIR [cmake options...] [-- targets...]
build_tree() {
  local dir="$1"
  shift
  local options=()
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do
    options+=("$1")
    shift
  done
  if [ $# -gt 0 ]; then shift; fi
  cmake -S . -B "$dir" -G Ninja "${options[@]}" >/dev/null
  cmake --build "$dir" -- -j"$(nproc)" "$@"
}
