# Shared by scripts/run and scripts/test: packages, configure, build.
# Sourced, not run.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"

packages=(
  cmake g++ make pkg-config
  qtbase5-dev libqt5opengl5-dev
  libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri
  libgtest-dev libbenchmark-dev
  libstb-dev libnoise-dev
  nlohmann-json3-dev libcli11-dev libpng-dev python3
  xvfb xauth
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

ensure_packages() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  as_root apt-get update -q
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

configure_and_build() {
  if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
  fi
  cmake --build "$build" --parallel "$(nproc)" "$@"
}

# Runs a command on the display there is, or on a private virtual one. The
# virtual server must not reset when its last client leaves: between two test
# processes it would otherwise drop the next one's connection.
with_display() {
  if [ -n "${DISPLAY:-}" ]; then
    "$@"
  else
    xvfb-run -a -s "-screen 0 1920x1200x24 +extension GLX -noreset" "$@"
  fi
}
