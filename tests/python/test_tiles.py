"""Tiles for any scheduler: texbake --tiles/--tile/--manifest run as a
job array would run it, scripts/stitch putting the tiles together, byte
for byte the whole bake and the Python bake, and the manifest check
catching tiles that are missing, repeated, truncated or of another bake."""

import hashlib
import importlib.machinery
import importlib.util
import json
import os
import subprocess
import sys

import numpy as np
import pytest

import sftex
from conftest import GALLERY, GALLERY_GRAPHS, ROOT, TEXBAKE, ppm_raster, texbake

STITCH = ROOT / "scripts" / "stitch"
GRID_OPTIONS = ["--width", 203, "--height", 150, "--extent", 5, "--origin", -1.5, 0.25]
GRID = sftex.Grid.flat(203, 150, 5.0, -1.5, 0.25)


def _stitch_module():
    loader = importlib.machinery.SourceFileLoader("stitch", str(STITCH))
    spec = importlib.util.spec_from_loader("stitch", loader)
    module = importlib.util.module_from_spec(spec)
    loader.exec_module(module)
    return module


def png_pixels(path):
    """The samples of a PNG file texbake or the stitcher wrote, as bytes."""
    tile = _stitch_module().PngTile(str(path))
    return tile.width, tile.height, tile.depth, b"".join(tile.rows())


def stitch(*arguments):
    return subprocess.run([sys.executable, str(STITCH), *map(str, arguments)], capture_output=True, text=True)


def bake_array_of_tiles(folder, graph, tiling, count, extension, *options):
    """Every tile as its own process, as a Slurm job array runs them: the
    same command, told its tile by SLURM_ARRAY_TASK_ID."""
    if not TEXBAKE.exists():
        pytest.skip("texbake was not built")
    folder.mkdir()
    command = (f'exec "{TEXBAKE}" "{graph}" -q --tiles {tiling} --tile "$SLURM_ARRAY_TASK_ID" '
               f'-o "{folder}/tile-$SLURM_ARRAY_TASK_ID.{extension}" '
               f'--manifest "{folder}/tile-$SLURM_ARRAY_TASK_ID.json" '
               + " ".join(map(str, [*GRID_OPTIONS, *options, "--threads", 1])))
    jobs = [subprocess.Popen(["sh", "-c", command], env={**os.environ, "SLURM_ARRAY_TASK_ID": str(i)})
            for i in range(count)]
    assert [job.wait() for job in jobs] == [0] * count
    return sorted(folder.glob("tile-*.json"))


@pytest.mark.parametrize("name", GALLERY_GRAPHS)
def test_stitched_ppm_tiles_are_the_whole_bake(tmp_path, name):
    graph = GALLERY / name
    texbake(graph, "-o", tmp_path / "whole.ppm", *GRID_OPTIONS)
    manifests = bake_array_of_tiles(tmp_path / "tiles", graph, "3x2", 6, "ppm")
    result = stitch(tmp_path / "stitched.ppm", *manifests)
    assert result.returncode == 0, result.stderr
    assert (tmp_path / "stitched.ppm").read_bytes() == (tmp_path / "whole.ppm").read_bytes()
    pixels = sftex.read_graph(graph).bake_pixels(GRID, channels="rgb")
    assert pixels.tobytes() == ppm_raster(tmp_path / "whole.ppm")[3]


def test_stitched_png_tiles_of_16_bits_are_the_whole_bake(tmp_path):
    graph = GALLERY / "marble.json"
    texbake(graph, "-o", tmp_path / "whole.png", "--depth", 16, *GRID_OPTIONS)
    manifests = bake_array_of_tiles(tmp_path / "tiles", graph, "2x3", 6, "png", "--depth", 16)
    result = stitch(tmp_path / "stitched.png", *manifests)
    assert result.returncode == 0, result.stderr
    whole = png_pixels(tmp_path / "whole.png")
    assert png_pixels(tmp_path / "stitched.png") == whole
    pixels = sftex.read_graph(graph).bake_pixels(GRID, depth=16)
    assert pixels.astype(">u2").tobytes() == whole[3]


def test_manifest_describes_the_whole_bake(tmp_path):
    manifests = bake_array_of_tiles(tmp_path / "tiles", GALLERY / "voronoi.json", "4x3", 12, "ppm")
    manifest = json.loads(manifests[0].read_text())
    assert manifest["grid"] == {"width": 203, "height": 150, "kind": "flat", "extent": 5.0,
                                "origin": [-1.5, 0.25], "z": 0.0}
    assert manifest["tiling"] == {"columns": 4, "rows": 3}
    regions = [t["region"] for t in manifest["tiles"]]
    # Cut at c * 203 // 4 (0, 50, 101, 152) and r * 150 // 3, counted row by row.
    assert regions[:5] == [[0, 0, 50, 50], [50, 0, 51, 50], [101, 0, 51, 50], [152, 0, 51, 50], [0, 50, 50, 50]]
    assert [list(sftex.tile_region(203, 150, 4, 3, i)) for i in range(12)] == regions
    graph = sftex.read_graph(GALLERY / "voronoi.json")
    assert manifest["graph"] == {"output": graph.output, "sha256": hashlib.sha256(graph.text().encode()).hexdigest()}


def test_manifest_check_catches_bad_tiles(tmp_path):
    manifests = bake_array_of_tiles(tmp_path / "tiles", GALLERY / "marble.json", "2x2", 4, "ppm")
    folder = tmp_path / "tiles"
    assert stitch("--check", *manifests).returncode == 0

    def refused(*paths):
        result = stitch(tmp_path / "out.ppm", *paths)
        assert result.returncode == 2 and not (tmp_path / "out.ppm").exists()
        assert not list(tmp_path.glob("out.ppm.tmp-*"))
        return result.stderr

    # A job that never ran.
    assert "1 of 4 tiles were not baked: 2" in refused(*[m for m in manifests if m.name != "tile-2.json"])
    # A job run twice, under another name.
    (folder / "tile-1.again.ppm").write_bytes((folder / "tile-1.ppm").read_bytes())
    again = json.loads((folder / "tile-1.json").read_text())
    next(t for t in again["tiles"] if t["index"] == 1)["file"] = "tile-1.again.ppm"
    (folder / "tile-1.again.json").write_text(json.dumps(again))
    assert "tile 1 was baked twice" in refused(*manifests, folder / "tile-1.again.json")
    # A job whose output was cut short.
    data = (folder / "tile-3.ppm").read_bytes()
    (folder / "tile-3.ppm").write_bytes(data[:-7])
    assert "tile 3: its SHA-256 is not the one" in refused(*manifests)
    (folder / "tile-3.ppm").write_bytes(data)
    # A tile of another bake: another grid.
    other = bake_array_of_tiles(tmp_path / "other", GALLERY / "marble.json", "2x2", 4, "ppm", "--z", 1)
    assert "its grid differs" in refused(*manifests[:3], other[3])


def test_texbake_refuses_bad_tilings(tmp_path):
    graph = GALLERY / "noise.json"
    out = tmp_path / "t.ppm"
    for options, message in [
        (["--tiles", "3x2"], "--tiles: needs --tile"),
        (["--tiles", "3x2", "--tile", 6], "--tile: 6 is not in 0..5"),
        (["--tiles", "3by2", "--tile", 0], '"3by2" is not COLSxROWS'),
        (["--tiles", "0x2", "--tile", 0], '"0x2" is not COLSxROWS'),
        (["--width", 4, "--tiles", "5x1", "--tile", 0], "5x1 tiles do not fit the 4 x 512 grid"),
        (["--tile", 0], "--tile: needs --tiles"),
        (["--tiles", "2x2", "--tile", 0, "--region", 0, 0, 4, 4], "exclude each other"),
    ]:
        result = texbake(graph, "-o", out, *options, check=False)
        assert result.returncode == 2 and message in result.stderr, (options, result.stderr)
        assert not out.exists()
