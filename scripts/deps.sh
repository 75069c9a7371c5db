# Installs the Debian packages named in "$@" that are not installed yet.
# Sourced by scripts/run and scripts/test.
install_missing() {
  local missing=()
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${missing[@]}"
}

# What building the program needs.
BUILD_PACKAGES=(g++ cmake make libgtest-dev libbenchmark-dev qt6-base-dev libgl-dev
  libpng-dev fonts-dejavu-core)
# What starting the window on a desktop needs besides.
RUN_PACKAGES=(qt6-qpa-plugins)
# What the tests need besides: the independent readers and oracles.
TEST_PACKAGES=(python3 python3-numpy python3-scipy python3-ezdxf)
# What the fuzz targets need besides: clang and its libFuzzer runtime.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
