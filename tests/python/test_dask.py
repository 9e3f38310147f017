"""Bakes on Dask: a LocalCluster of two worker processes on the loopback
address gives texbake's bytes, writes them to Zarr, and survives a worker
killed in the middle of a bake."""

import os
import signal

import numpy as np
import pytest

import sftex
from conftest import GALLERY, GALLERY_GRAPHS, ppm_raster, texbake

distributed = pytest.importorskip("distributed")
sftex_dask = pytest.importorskip("sftex.dask")
zarr = pytest.importorskip("zarr")

GRID = sftex.Grid.flat(150, 110, 4.0, 0.5, -0.5)
GRID_OPTIONS = ["--width", 150, "--height", 110, "--extent", 4, "--origin", 0.5, -0.5]


@pytest.fixture(scope="module")
def client():
    # Everything on the loopback address, the HTTP servers of the scheduler
    # and the workers included (left to themselves, they listen on every
    # interface); the context managers stop the cluster and its processes
    # whatever the tests do.
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True, host="127.0.0.1",
                                  dashboard_address="127.0.0.1:0", worker_dashboard_address="127.0.0.1:0") \
            as cluster, distributed.Client(cluster) as client:
        yield client


@pytest.mark.parametrize("name", GALLERY_GRAPHS)
def test_dask_bake_is_texbakes_bytes(tmp_path, client, name):
    texbake(GALLERY / name, "-o", tmp_path / "whole.ppm", *GRID_OPTIONS)
    graph = sftex.read_graph(GALLERY / name)
    array = sftex_dask.bake_array(graph, GRID, channels="rgb", chunks=(40, 64))
    assert array.numblocks == (3, 3, 1) and array.dtype == np.uint8
    assert client.compute(array).result().tobytes() == ppm_raster(tmp_path / "whole.ppm")[3]


def test_dask_values_and_floats_are_the_python_bakes(client):
    graph = sftex.read_graph(GALLERY / "fbm.json")
    values = sftex_dask.bake_array(graph, GRID, kind="values", chunks=33)
    assert client.compute(values).result().tobytes() == graph.bake_values(GRID).tobytes()
    colour = sftex.read_graph(GALLERY / "marble.json")
    floats = sftex_dask.bake_array(colour, GRID, kind="floats", chunks=50)
    assert client.compute(floats).result().tobytes() == colour.bake_floats(GRID).tobytes()
    with pytest.raises(TypeError, match="colour function"):
        sftex_dask.bake_array(colour, GRID, kind="values")


def test_zarr_bake_is_the_python_bake(tmp_path, client):
    graph = sftex.read_graph(GALLERY / "mossy_flagstone.json")
    sftex_dask.bake_to_zarr(graph, GRID, str(tmp_path / "bake.zarr"), depth=16, chunks=64)
    stored = zarr.open(str(tmp_path / "bake.zarr"), mode="r")
    assert stored.shape == (110, 150, 4) and stored.chunks == (64, 64, 4) and stored.dtype == np.uint16
    assert stored[...].tobytes() == graph.bake_pixels(GRID, depth=16).tobytes()


def test_killed_worker_is_retried_and_the_bake_is_the_same(client):
    graph = sftex.read_graph(GALLERY / "mossy_flagstone.json")
    grid = sftex.Grid.flat(512, 512, 6.0)
    expected = graph.bake_pixels(grid)
    baking = client.persist(sftex_dask.bake_array(graph, grid, chunks=32))
    # Once a chunk is done, SIGKILL the worker that holds it: its finished
    # chunks and its running one are lost and must be baked again.
    first = next(distributed.as_completed(distributed.futures_of(baking)))
    holder = next(iter(client.who_has([first]).values()))[0]
    pids = client.run(os.getpid)
    os.kill(pids[holder], signal.SIGKILL)
    assert baking.compute().tobytes() == expected.tobytes()
    assert holder not in client.run(os.getpid)


def test_cluster_listens_on_the_loopback_address_only(client):
    psutil = pytest.importorskip("psutil")
    # This process (the scheduler's), the workers and their nannies.
    pids = {os.getpid(), *client.run(os.getpid).values(), *client.run(os.getppid).values()}
    listening = [c.laddr.ip for pid in pids for c in psutil.Process(pid).connections("tcp")
                 if c.status == psutil.CONN_LISTEN]
    assert len(listening) >= 5 and set(listening) == {"127.0.0.1"}
