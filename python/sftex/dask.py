"""Bakes as Dask arrays: each chunk the bake of its own region, so that a
bake spreads over the workers of any dask.distributed scheduler and goes
to Zarr without ever being in memory whole.

    from dask.distributed import Client
    import sftex, sftex.dask

    client = Client("scheduler:8786")
    graph = sftex.read_graph("planet.json")
    grid = sftex.Grid.sphere(65536, 32768, radius=3.0)
    sftex.dask.bake_to_zarr(graph, grid, "planet.zarr", channels="rgb")

Every sample depends on its row and column alone, so the chunks need no
overlap and the array is, byte for byte, the bake of the whole grid.
"""

import dask.array as da
import numpy as np
from dask.base import tokenize

__all__ = ["bake_array", "bake_to_zarr"]

# What each kind of bake gives: its dtype and the samples a pixel.
_KINDS = ("values", "floats", "pixels")


def _layout(graph, kind, channels, depth):
    """(dtype, samples a pixel) of a bake."""
    if kind == "values":
        if graph.kind != "field":
            raise TypeError(f'the output "{graph.output}" is a colour function: it has no values')
        return np.dtype(np.float64), 1
    if kind == "floats":
        return np.dtype(np.float32), 1 if graph.kind == "field" else 4
    if depth not in (8, 16):
        raise ValueError(f"depth {depth} is neither 8 nor 16")
    per_pixel = {"grey": 1, "rgb": 3, "rgba": 4}.get(channels)
    if per_pixel is None:
        raise ValueError(f'channels "{channels}" is none of "grey", "rgb", "rgba"')
    return np.dtype(np.uint8 if depth == 8 else np.uint16), per_pixel


def _cuts(length, chunk):
    chunk = int(chunk)
    if chunk < 1:
        raise ValueError(f"chunks of {chunk} samples: a chunk holds at least one")
    return tuple(min(chunk, length - start) for start in range(0, length, chunk))


def bake_array(graph, grid, kind="pixels", channels=None, depth=8, chunks=1024, threads=1):
    """The bake of `grid` as a lazy dask.array: kind "values" (float64),
    "floats" (float32) or "pixels" (uint8 or uint16 by `depth`, `channels`
    as Graph.bake_pixels), height x width (x samples a pixel). `chunks` is
    the side of a chunk in samples, or (rows, columns); each chunk bakes
    its region with `threads` threads (1: Dask's workers are the
    parallelism)."""
    if kind not in _KINDS:
        raise ValueError(f'kind "{kind}" is none of "values", "floats", "pixels"')
    if kind == "pixels" and channels is None:
        channels = "grey" if graph.kind == "field" else "rgba"
    dtype, per_pixel = _layout(graph, kind, channels, depth)
    rows, columns = (chunks, chunks) if np.ndim(chunks) == 0 else chunks
    layout = (_cuts(grid.height, rows), _cuts(grid.width, columns))
    if per_pixel > 1:
        layout += ((per_pixel,),)
    threads = int(threads)

    def bake_chunk(block_info=None):
        (top, bottom), (left, right) = block_info[None]["array-location"][:2]
        region = (left, top, right - left, bottom - top)
        if kind == "values":
            return graph.bake_values(grid, region=region, threads=threads)
        if kind == "floats":
            return graph.bake_floats(grid, region=region, threads=threads)
        return graph.bake_pixels(grid, channels=channels, depth=depth, region=region, threads=threads)

    name = "sftex-bake-" + tokenize(graph.text(), grid, kind, channels, depth, layout, threads)
    return da.map_blocks(bake_chunk, dtype=dtype, chunks=layout, meta=np.empty((0,) * len(layout), dtype),
                         name=name)


def bake_to_zarr(graph, grid, url, kind="pixels", channels=None, depth=8, chunks=1024, threads=1,
                 overwrite=False, **to_zarr):
    """Bakes into a Zarr array at `url` (a folder, or any store Zarr takes),
    chunk by chunk on the current Dask scheduler, its chunks those of the
    bake; see bake_array. Further keywords go to dask.array.to_zarr."""
    array = bake_array(graph, grid, kind, channels, depth, chunks, threads)
    return array.to_zarr(url, overwrite=overwrite, **to_zarr)
