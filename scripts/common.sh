# Shared by scripts/run, scripts/test and scripts/fuzz: packages, configure,
# build, display. Sourced, not run.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"

# What building and running the program needs.
program_packages=(
  cmake g++ make pkg-config
  qt6-base-dev libqt6opengl6-dev
  libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri
  libhwy-dev nlohmann-json3-dev
)
# Without a display the program and the tests run on a virtual X server.
display_packages=(xvfb xauth)
# What the tests, the benchmarks and the texbake tool need besides.
test_packages=(
  libgtest-dev libbenchmark-dev
  libstb-dev libnoise-dev
  libcli11-dev libpng-dev libssl-dev python3
  python3-dev pybind11-dev python3-pybind11 python3-numpy python3-pytest
  python3-dask python3-distributed python3-zarr
  libx11-dev
)

# Installs those of the given Debian packages that are missing: as root
# directly, otherwise through sudo where sudo can be had. Where it cannot,
# says what to install and stops.
ensure_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0

  local as_root=()
  if [ "$(id -u)" -ne 0 ]; then
    # sudo without a password, or with one asked on this terminal; sudo -v
    # asks for it and fails for a user sudo does not let in.
    if command -v sudo >/dev/null 2>&1 &&
      { sudo -n true 2>/dev/null || { [ -t 0 ] && echo "Missing packages: ${missing[*]}; asking sudo for root" >&2 &&
        sudo -v; }; }; then
      as_root=(sudo)
    else
      echo "Missing packages: ${missing[*]}" >&2
      echo "Install them as root, then run this again:" >&2
      echo "  apt-get update && apt-get install --no-install-recommends ${missing[*]}" >&2
      exit 1
    fi
  fi
  echo "Installing: ${missing[*]}"
  "${as_root[@]}" apt-get update -q
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# configure_tree DIR [cmake options...]: configures DIR from the source tree.
configure_tree() {
  local dir=$1
  shift
  cmake -S "$root" -B "$dir" "$@"
}

# build_tree DIR [cmake --build options...]: builds DIR with every core.
build_tree() {
  local dir=$1
  shift
  cmake --build "$dir" --parallel "$(nproc)" "$@"
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

# exec_with_display PROGRAM [ARGUMENTS...]: replaces this shell with the
# program, on the display there is or else on a private virtual X server.
# The server is told to end with its parent, this process, which is the
# program from the exec on: SIGTERM to this process stops the program, and
# the server after it, leaving nothing behind. The virtual server keeps its
# screen in a file (-fbdir), so that a screenshot needs no other program;
# it removes the file when it ends.
exec_with_display() {
  if [ -z "${DISPLAY:-}" ]; then
    local ready number screens stale
    # Folders of servers that were killed outright, and of ended ones.
    for stale in "${TMPDIR:-/tmp}"/superformula-display-*; do
      [ -d "$stale" ] && [ -O "$stale" ] && ! kill -0 "${stale##*-}" 2>/dev/null || continue
      rm -f "$stale/Xvfb_screen0" && rmdir "$stale" 2>/dev/null || true
    done
    screens="${TMPDIR:-/tmp}/superformula-display-$BASHPID"
    mkdir -p -m 700 "$screens"
    ready=$(mktemp -u)
    mkfifo "$ready"
    # -displayfd: the server picks a free display and writes its number
    # once it accepts clients. -br: a black root window around the program's.
    setpriv --pdeathsig TERM \
      Xvfb -displayfd 3 -screen 0 1920x1200x24 +extension GLX -noreset -nolisten tcp -br -fbdir "$screens" \
      3>"$ready" 2>/dev/null &
    if ! read -r number <"$ready"; then
      rm -f "$ready"
      rmdir "$screens" 2>/dev/null || true
      echo "The virtual X server (Xvfb) did not start." >&2
      exit 1
    fi
    rm -f "$ready"
    export DISPLAY=":$number"
    echo "No DISPLAY: the program draws into the virtual X server $DISPLAY (Xvfb), which no screen shows." >&2
    echo "A screenshot of it: scripts/xwd-to-png $screens/Xvfb_screen0 screenshot.png" >&2
  fi
  exec "$@"
}

# The display packages when there is no display to use.
display_needs() {
  [ -n "${DISPLAY:-}" ] || echo "${display_packages[@]}"
}
