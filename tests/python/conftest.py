"""Shared by the Python tests: the build tree's sftex and texbake, the
gallery, and running texbake."""

import os
import pathlib
import subprocess
import sys

import pytest

ROOT = pathlib.Path(__file__).resolve().parents[2]
BUILD = pathlib.Path(os.environ.get("SFTEX_BUILD", ROOT / "build")).resolve()
sys.path.insert(0, str(BUILD / "python"))
# Worker processes (Dask's) find the module the same way.
os.environ["PYTHONPATH"] = os.pathsep.join(filter(None, [str(BUILD / "python"), os.environ.get("PYTHONPATH")]))

GALLERY = ROOT / "docs" / "gallery"
TEXBAKE = BUILD / "bin" / "texbake"
# Three graphs of the gallery: a colour function over a perturbed field, a
# scalar field of cellular noise, and a colour mixer over flagstones.
GALLERY_GRAPHS = ["marble.json", "voronoi.json", "mossy_flagstone.json"]


def texbake(*arguments, check=True):
    """Runs the build tree's texbake; its CompletedProcess."""
    if not TEXBAKE.exists():
        pytest.skip("texbake was not built")
    result = subprocess.run([str(TEXBAKE), "-q", *map(str, arguments)], capture_output=True, text=True)
    if check and result.returncode != 0:
        raise AssertionError(f"texbake {' '.join(map(str, arguments))}: {result.returncode}: {result.stderr}")
    return result


def ppm_raster(path):
    """(width, height, maximum, raster bytes) of a binary PPM file as texbake writes it."""
    header, raster = pathlib.Path(path).read_bytes().split(b"\n", 1)
    magic, width, height, maximum = header.split()
    assert magic == b"P6"
    return int(width), int(height), int(maximum), raster
