"""Python bakes against texbake and the library's one-point evaluation:
the same bytes and bits, arrays that own their memory, threads that agree,
and Ctrl-C that stops a bake."""

import _thread
import gc
import os
import threading
import time
import weakref

import numpy as np
import pytest

import sftex
from conftest import GALLERY, GALLERY_GRAPHS, ppm_raster, texbake

WIDTH, HEIGHT, EXTENT = 96, 64, 3.0


@pytest.mark.parametrize("name", GALLERY_GRAPHS)
@pytest.mark.parametrize("depth", [8, 16])
def test_pixels_are_texbakes_bytes(tmp_path, name, depth):
    graph = sftex.read_graph(GALLERY / name)
    grid = sftex.Grid.flat(WIDTH, HEIGHT, EXTENT, 0.5, -1.0, 0.25)
    region = (13, 7, 50, 41)
    out = tmp_path / "texbake.ppm"
    texbake(GALLERY / name, "-o", out, "--depth", depth, "--width", WIDTH, "--height", HEIGHT,
            "--extent", EXTENT, "--origin", 0.5, -1.0, "--z", 0.25, "--region", *region)
    width, height, maximum, raster = ppm_raster(out)
    assert (width, height, maximum) == (50, 41, 255 if depth == 8 else 65535)

    pixels = graph.bake_pixels(grid, channels="rgb", depth=depth, region=region, threads=2)
    assert pixels.shape == (41, 50, 3)
    assert pixels.dtype == (np.uint8 if depth == 8 else np.uint16)
    assert pixels.astype(pixels.dtype.newbyteorder(">")).tobytes() == raster


def test_values_are_the_bits_of_value_at_each_sample():
    graph = sftex.read_graph(GALLERY / "b_perturber.json")
    grid = sftex.Grid.sphere(40, 30, 2.5, 0.1, 0.2, 0.3)
    baked = graph.bake_values(grid, threads=3)
    points = np.array([[grid.point(r, c) for c in range(40)] for r in range(30)])
    evaluated = graph.values(points[..., 0], points[..., 1], points[..., 2])
    assert baked.dtype == np.float64 and baked.shape == (30, 40)
    assert baked.tobytes() == evaluated.tobytes()
    # The one-point evaluation, a point at a time, through arrays of one.
    for row, column in [(0, 0), (17, 23), (29, 39)]:
        x, y, z = grid.point(row, column)
        assert graph.values(x, y, z).item() == baked[row, column]
    # float32 samples are the values narrowed, unclamped.
    assert graph.bake_floats(grid).tobytes() == baked.astype(np.float32).tobytes()


def test_colours_broadcast_and_clamp_only_when_baked():
    graph = sftex.read_graph(GALLERY / "marble.json")
    x = np.linspace(-2.0, 2.0, 7).reshape(7, 1)
    y = np.linspace(0.0, 1.0, 5)
    colours = graph.colours(x, y, 0.5)
    assert colours.shape == (7, 5, 4)
    flat = graph.colours(np.broadcast_to(x, (7, 5)).ravel(), np.broadcast_to(y, (7, 5)).ravel(),
                         np.full(35, 0.5))
    assert colours.reshape(35, 4).tobytes() == flat.tobytes()
    grid = sftex.Grid.flat(8, 4, 1.0)
    floats = graph.bake_floats(grid)
    unclamped = graph.colours(*np.meshgrid(np.arange(8) / 8, np.arange(4) / 8), 0.0)
    assert floats.shape == (4, 8, 4) and floats.dtype == np.float32
    assert np.array_equal(floats, np.clip(unclamped, 0.0, 1.0).astype(np.float32))


def test_threads_and_regions_give_the_same_samples():
    graph = sftex.read_graph(GALLERY / "mossy_flagstone.json")
    grid = sftex.Grid.flat(150, 120, 4.0)
    whole = graph.bake_pixels(grid, threads=1)
    assert np.array_equal(graph.bake_pixels(grid, threads=4), whole)
    assert np.array_equal(graph.bake_pixels(grid, region=(149, 0, 1, 120), threads=0), whole[:, 149:150])
    assert graph.bake_thread_count(grid, threads=1) == 1


def test_arrays_own_their_memory():
    graph = sftex.read_graph(GALLERY / "fbm.json")
    grid = sftex.Grid.flat(64, 64, 2.0)
    expected = graph.bake_values(grid).copy()
    pixels = graph.bake_values(grid)
    # Zero-copy: the array is a view of memory the module handed over.
    assert not pixels.flags["OWNDATA"] and pixels.base is not None
    view = pixels[10:20, 5:9]
    graph_ref = weakref.ref(graph)
    del graph, pixels
    gc.collect()
    # The graph may go; the views keep the samples alive and unchanged.
    assert graph_ref() is None
    assert np.array_equal(view, expected[10:20, 5:9])
    # Bakes dropped at once give their memory back: 30 of 8 MiB each would
    # otherwise stay.
    noise = sftex.read_graph(GALLERY / "noise.json")
    noise.bake_values(sftex.Grid.flat(1024, 1024))
    before = _resident_mib()
    for _ in range(30):
        noise.bake_values(sftex.Grid.flat(1024, 1024))
    assert _resident_mib() - before < 80


def _resident_mib():
    with open("/proc/self/statm") as f:
        return int(f.read().split()[1]) * os.sysconf("SC_PAGE_SIZE") / 2**20


def test_keyboard_interrupt_cancels_a_bake():
    # Minutes of work on two cores uncancelled, within the cost bound: 16
    # octaves of Voronoi cells of the highest density over 8192 x 8192.
    builder = sftex.GraphBuilder()
    cells = builder.add("Voronoi", seed=1, density=5)
    builder.add("FBM", inputs=[cells], octaves=16)
    slow = builder.graph()
    grid = sftex.Grid.flat(8192, 8192, 64.0)
    started = threading.Event()
    interrupted = []

    def interrupt_once_baking():
        started.wait()
        # The bake runs once the process spends CPU time beyond this.
        base = os.times()
        while os.times().user - base.user < 0.2:
            time.sleep(0.01)
        interrupted.append(time.monotonic())
        _thread.interrupt_main()

    helper = threading.Thread(target=interrupt_once_baking)
    helper.start()
    with pytest.raises(KeyboardInterrupt):
        started.set()
        slow.bake_pixels(grid, threads=2)
    stopped = time.monotonic()
    helper.join()
    # A fraction of the whole bake, however busy the machine.
    assert stopped - interrupted[0] < 10
