#!/usr/bin/env bash
# The documented install of the Python module, run as a user runs it:
# scripts/install-python into a site directory of this test's own, in a
# build tree of its own; then Debian's python3 with that directory on its
# path imports sftex and bakes texbake's bytes of a gallery graph.
#
#   install.sh SOURCE WORK TEXBAKE
set -euo pipefail
source=$1 work=$2 texbake=$3
rm -rf "$work"
mkdir -p "$work"
SFTEX_BUILD_TREE="$work/tree" "$source/scripts/install-python" "$work/site"
test -f "$work/site/sftex/__init__.py"

"$texbake" "$source/docs/gallery/marble.json" --width 64 --height 64 --quiet -o "$work/texbake.ppm"
cd "$work"
PYTHONPATH="$work/site" /usr/bin/python3 - "$source/docs/gallery/marble.json" "$work/site" <<'PYTHON'
import sys
import sftex

site = sys.argv[2]
assert sftex.__file__.startswith(site), f"sftex came from {sftex.__file__}, not {site}"
graph = sftex.read_graph(sys.argv[1])
pixels = graph.bake_pixels(sftex.Grid.flat(64, 64), channels="rgb")
sftex.write_ppm("python.ppm", pixels)
PYTHON
cmp "$work/texbake.ppm" "$work/python.ppm"
echo "sftex installed into $work/site bakes texbake's bytes"
