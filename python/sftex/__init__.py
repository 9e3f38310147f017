"""The texture library from Python: graphs, evaluation over numpy arrays and
bakes into numpy arrays, exactly the bits of the C++ library and texbake.

    import sftex
    graph = sftex.read_graph("docs/gallery/marble.json")
    grid = sftex.Grid.flat(512, 512, extent=4.0)
    pixels = graph.bake_pixels(grid, channels="rgb")      # uint8, 512 x 512 x 3
    sftex.write_ppm("marble.ppm", pixels)                # what texbake writes

See docs/python.md.
"""

import json

import numpy as np

from . import _sftex
from ._sftex import GraphError, catalogue, tile_region, write_ppm

__all__ = [
    "Graph", "GraphBuilder", "GraphError", "Grid",
    "catalogue", "read_graph", "parse_graph", "tile_region", "write_ppm",
]


def read_graph(path):
    """The graph in the graph file at `path` (as texbake reads it).

    Raises GraphError with the reader's message, naming the file, when the
    graph is refused, and OSError when the file cannot be read.
    """
    with open(path, "rb") as f:
        text = f.read()
    return parse_graph(text, source=str(path))


def parse_graph(text, source="graph"):
    """The graph of a graph file's text (str or UTF-8 bytes); GraphError
    naming `source` when it is refused."""
    if isinstance(text, (bytes, bytearray)):
        try:
            text = text.decode("utf-8")
        except UnicodeDecodeError as error:
            raise GraphError(f"{source}: not UTF-8 text ({error.reason} at byte {error.start})") from None
    return Graph(_sftex.read_graph_text(text, source))


class Grid:
    """The regular grid of points a bake samples (as texbake's --grid).

    Grid.flat(width, height, extent, x0, y0, z): square cells, the longer
    side spanning `extent`; sample (row r, column c) is at (x0 + c step,
    y0 + r step, z). Grid.sphere(width, height, radius, cx, cy, cz): a
    latitude-by-longitude map of a sphere.
    """

    def __init__(self, kind, width, height, size, a, b, c):
        make = {"flat": _sftex.Grid.flat, "sphere": _sftex.Grid.sphere}[kind]
        self._grid = make(int(width), int(height), float(size), float(a), float(b), float(c))
        self._arguments = (kind, int(width), int(height), float(size), float(a), float(b), float(c))

    @classmethod
    def flat(cls, width, height, extent=1.0, x0=0.0, y0=0.0, z=0.0):
        return cls("flat", width, height, extent, x0, y0, z)

    @classmethod
    def sphere(cls, width, height, radius=1.0, cx=0.0, cy=0.0, cz=0.0):
        return cls("sphere", width, height, radius, cx, cy, cz)

    kind = property(lambda self: self._arguments[0])
    width = property(lambda self: self._arguments[1])
    height = property(lambda self: self._arguments[2])

    def point(self, row, column):
        """The (x, y, z) of one sample."""
        return self._grid.point(row, column)

    def __reduce__(self):
        return (Grid, self._arguments)

    def __eq__(self, other):
        return isinstance(other, Grid) and self._arguments == other._arguments

    def __hash__(self):
        return hash(self._arguments)

    def __repr__(self):
        kind, width, height, size, a, b, c = self._arguments
        return f"Grid.{kind}({width}, {height}, {size!r}, {a!r}, {b!r}, {c!r})"


def _coordinates(x, y, z):
    """x, y and z broadcast together, as flat float64 arrays in C order, and
    the shape they broadcast to."""
    arrays = []
    for name, value in (("x", x), ("y", y), ("z", z)):
        array = np.asarray(value)
        if array.dtype.kind not in "biuf":
            raise TypeError(f"{name} must hold real numbers, not {array.dtype}")
        arrays.append(array)
    try:
        broadcast = np.broadcast_arrays(*arrays)
    except ValueError:
        shapes = ", ".join(str(a.shape) for a in arrays)
        raise ValueError(f"x, y and z do not broadcast to one shape: {shapes}") from None
    shape = broadcast[0].shape
    return [np.ascontiguousarray(a, dtype=np.float64).reshape(-1) for a in broadcast], shape


def _region(region):
    if region is None:
        return None
    try:
        x, y, width, height = (int(v) for v in region)
    except (TypeError, ValueError):
        raise TypeError(f"a region is (x, y, width, height), not {region!r}") from None
    return (x, y, width, height)


class Graph:
    """A texture graph that passed every check of the graph reader; it
    cannot be changed. Evaluation and bakes release the GIL, so threads
    may share one graph."""

    def __init__(self, handle):
        self._handle = handle

    @property
    def output(self):
        """The id of the node that is evaluated and baked."""
        return self._handle.output

    @property
    def kind(self):
        """"field" (a scalar field: values) or "colour" (a colour function)."""
        return self._handle.kind

    @property
    def cost(self):
        """What one sample costs, in evaluations of leaves."""
        return self._handle.cost

    @property
    def node_ids(self):
        return self._handle.node_ids

    def text(self):
        """The graph as a graph file's text (one line a node)."""
        return self._handle.text()

    def write(self, path):
        with open(path, "w", encoding="utf-8") as f:
            f.write(self.text())

    def __reduce__(self):
        # Dask and multiprocessing ship a graph as its text.
        return (parse_graph, (self.text(),))

    def __repr__(self):
        return f"<sftex.Graph output={self.output!r} kind={self.kind!r} cost={self.cost}>"

    # Evaluation at points of any shape.

    def values(self, x, y, z=0.0):
        """The field's value at each point, float64 of the shape x, y and z
        broadcast to: the bits of the library's value()."""
        (x, y, z), shape = _coordinates(x, y, z)
        return _sftex.values(self._handle, x, y, z).reshape(shape)

    def colours(self, x, y, z=0.0):
        """The colour at each point, float64 of that shape + (4,): red,
        green, blue, alpha as colour() gives them (unclamped)."""
        (x, y, z), shape = _coordinates(x, y, z)
        return _sftex.colours(self._handle, x, y, z).reshape(shape + (4,))

    # Bakes of a grid, or a region (x, y, width, height) of it. threads=0:
    # one per hardware thread; 1: the calling thread alone. Ctrl-C stops a
    # bake within a run of samples and raises KeyboardInterrupt.

    def bake_values(self, grid, region=None, threads=0):
        """A scalar field's values, float64, height x width."""
        return _sftex.bake_values(self._handle, grid._grid, _region(region), int(threads))

    def bake_floats(self, grid, region=None, threads=0):
        """float32 samples as in a texture: a field's values unclamped
        (height x width), a colour's r, g, b, a clamped to [0, 1]
        (height x width x 4)."""
        return _sftex.bake_floats(self._handle, grid._grid, _region(region), int(threads))

    def bake_pixels(self, grid, channels=None, depth=8, region=None, threads=0):
        """Pixels as texbake writes them: uint8 (depth 8) or uint16 (16, in
        native byte order; PPM and PNG files hold them big-endian).

        channels: "grey" (height x width), "rgb" or "rgba" (height x width
        x 3 or 4). By default "grey" for a field and "rgba" for a colour
        function, as in texbake's PNG; texbake's PPM is "rgb".
        """
        if channels is None:
            channels = "grey" if self.kind == "field" else "rgba"
        return _sftex.bake_pixels(self._handle, grid._grid, str(channels), int(depth), _region(region),
                                  int(threads))

    def bake_thread_count(self, grid, region=None, threads=0):
        """The threads a bake of `grid` with these settings runs on."""
        return _sftex.bake_thread_count(grid._grid, _region(region), int(threads))


def _node_types():
    return {t["name"]: t for t in catalogue()}


def _json_value(value):
    # numpy scalars and arrays as the plain numbers and lists JSON takes.
    if isinstance(value, np.ndarray):
        return value.tolist()
    if isinstance(value, np.generic):
        return value.item()
    if isinstance(value, (list, tuple)):
        return [_json_value(v) for v in value]
    return value


class GraphBuilder:
    """Builds a graph node by node from the catalogue. Each node is checked
    as it is added, by the graph reader itself, so a bad one raises
    GraphError at once with the reader's message:

        b = sftex.GraphBuilder()
        noise = b.add("Noise", seed=7, size=16)
        fbm = b.add("FBM", inputs=[noise], octaves=5, xscale=2.0)
        graph = b.graph()                  # its output: the last node added

    Keyword settings are the node type's constructor arguments (seed, size,
    ...) and its named parameters (octaves, contrast, ...) alike.
    """

    def __init__(self):
        self._nodes = []
        self._types = _node_types()

    def add(self, type, id=None, inputs=(), colour_inputs=(), stops=None, **settings):
        """Adds a node and returns its id (by default the type's name in
        lower case and the node's number)."""
        if id is None:
            id = f"{str(type).lower()}{len(self._nodes)}"
        node = {"id": id, "type": type}
        known = self._types.get(type)
        argument_names = {a["name"] for a in known["arguments"]} if known else set()
        parameters = {}
        for name, value in settings.items():
            if name in argument_names:
                node[name] = _json_value(value)
            else:
                parameters[name] = _json_value(value)
        if parameters:
            node["parameters"] = parameters
        if inputs:
            node["inputs"] = list(inputs)
        if colour_inputs:
            node["colourInputs"] = list(colour_inputs)
        if stops is not None:
            node["stops"] = _json_value(stops)
        self._read(self._nodes + [node], id, f'node "{id}"')
        self._nodes.append(node)
        return id

    def text(self, output=None):
        """The graph file's text, its output `output` (by default the last
        node added)."""
        if not self._nodes:
            raise GraphError("the graph has no nodes yet")
        output = self._nodes[-1]["id"] if output is None else output
        return json.dumps({"format": "texbake-graph", "version": 1, "nodes": self._nodes, "output": output},
                          allow_nan=False)

    def graph(self, output=None):
        """The graph, its output `output` (by default the last node added)."""
        return parse_graph(self.text(output), source="graph")

    def _read(self, nodes, output, source):
        try:
            text = json.dumps({"format": "texbake-graph", "version": 1, "nodes": nodes, "output": output},
                              allow_nan=False)
        except ValueError:
            raise GraphError(f"{source}: a graph holds finite numbers only, not NaN or infinity") from None
        except TypeError as error:
            raise GraphError(f"{source}: {error}") from None
        return parse_graph(text, source=source)
