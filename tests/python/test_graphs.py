"""Graphs from Python: files read and written as texbake reads them, graphs
built node by node, the catalogue, and every kind of bad input raising a
Python exception with the library's message."""

import json

import numpy as np
import pytest

import sftex
from conftest import GALLERY, texbake


def test_written_graph_reads_back_to_the_same_text(tmp_path):
    graph = sftex.read_graph(GALLERY / "mossy_flagstone.json")
    graph.write(tmp_path / "again.json")
    again = sftex.read_graph(tmp_path / "again.json")
    assert again.text() == graph.text()
    assert (again.output, again.kind, again.cost) == ("mossy", "colour", graph.cost)
    assert graph.cost > 0


def test_built_graph_is_the_file_graph():
    builder = sftex.GraphBuilder()
    paving = builder.add("Flagstone", id="paving", cellSeed=19, grainSeed=20)
    noise = builder.add("Noise", id="noise", seed=21, size=256)
    fbm = builder.add("FBM", id="fbm", inputs=[noise], octaves=5)
    moss = builder.add("ColourMap", id="moss", inputs=[fbm],
                       stops=np.array([[0.0, 0.1, 0.2, 0.05, 1.0], [0.5, 0.25, 0.45, 0.1, 1.0],
                                       [1.0, 0.5, 0.65, 0.2, 1.0]]))
    patches = builder.add("FBM", id="patches", inputs=[noise], contrast=3.0, xscale=0.3, yscale=0.3,
                          octaves=np.int64(4))
    builder.add("CMixer", id="mossy", inputs=[patches], colour_inputs=[paving, moss])
    assert builder.graph().text() == sftex.read_graph(GALLERY / "mossy_flagstone.json").text()


def test_catalogue_lists_every_node_type_with_its_settings():
    types = {t["name"]: t for t in sftex.catalogue()}
    assert len(types) == 17
    fbm = types["FBM"]
    assert fbm["kind"] == "field" and fbm["description"]
    octaves = next(p for p in fbm["parameters"] if p["name"] == "octaves")
    assert (octaves["kind"], octaves["min"], octaves["max"]) == ("integer", 1, 16)
    assert [i["name"] for i in types["CMixer"]["inputs"]] and types["ColourMap"]["stops"]
    seed = next(a for a in types["Noise"]["arguments"] if a["name"] == "seed")
    assert seed["default"] is None


def _graph(nodes, output):
    return {"format": "texbake-graph", "version": 1, "nodes": nodes, "output": output}


BAD_GRAPHS = {
    "unknown node": _graph([{"id": "n", "type": "Nosie", "seed": 1}], "n"),
    "bad parameter": _graph([{"id": "n", "type": "Noise", "seed": 1, "parameters": {"xscale": 11}}], "n"),
    "unknown parameter": _graph([{"id": "n", "type": "Noise", "seed": 1, "parameters": {"octaves": 2}}], "n"),
    "cycle": _graph([{"id": "a", "type": "BScaler", "inputs": ["b"]},
                     {"id": "b", "type": "BScaler", "inputs": ["a"]}], "a"),
    "cost over the bound": _graph(
        [{"id": "n", "type": "Noise", "seed": 1}]
        + [{"id": f"f{i}", "type": "FBM", "inputs": [f"f{i - 1}" if i else "n"], "parameters": {"octaves": 16}}
           for i in range(4)], "f3"),
    "missing input": _graph([{"id": "f", "type": "FBM"}], "f"),
}


@pytest.mark.parametrize("kind", sorted(BAD_GRAPHS))
def test_refused_graph_raises_texbakes_message(tmp_path, kind):
    path = tmp_path / "bad.json"
    path.write_text(json.dumps(BAD_GRAPHS[kind]))
    result = texbake(path, "-o", tmp_path / "out.png", check=False)
    assert result.returncode == 2
    with pytest.raises(sftex.GraphError) as raised:
        sftex.read_graph(path)
    assert isinstance(raised.value, ValueError)
    assert result.stderr == f"texbake: {raised.value}\n"


def test_malformed_text_is_refused_by_line_and_column():
    with pytest.raises(sftex.GraphError, match=r"^g\.json:2:1: "):
        sftex.parse_graph('{"format":\n}', source="g.json")
    with pytest.raises(sftex.GraphError, match="not UTF-8"):
        sftex.parse_graph(b'{"\xff"}')


def test_builder_refuses_a_bad_node_at_once_and_keeps_the_good_ones():
    builder = sftex.GraphBuilder()
    noise = builder.add("Noise", seed=1)
    with pytest.raises(sftex.GraphError, match=r'^node "fbm1": /nodes/1/parameters/octaves: 17 is outside 1\.\.16'):
        builder.add("FBM", inputs=[noise], octaves=17)
    with pytest.raises(sftex.GraphError, match="unknown type \"Nosie\""):
        builder.add("Nosie")
    with pytest.raises(sftex.GraphError, match="finite numbers only"):
        builder.add("BScaler", inputs=[noise], contrast=float("nan"))
    assert builder.graph().node_ids == ["noise0"]


def test_bad_points_bakes_and_images_raise():
    field = sftex.read_graph(GALLERY / "fbm.json")
    colour = sftex.read_graph(GALLERY / "marble.json")
    grid = sftex.Grid.flat(16, 8)
    with pytest.raises(ValueError, match="do not broadcast"):
        field.values(np.zeros(3), np.zeros(4))
    with pytest.raises(TypeError, match="real numbers, not complex128"):
        field.values(np.zeros(3, dtype=complex), 0.0)
    with pytest.raises(TypeError, match="real numbers"):
        field.values(["a"], 0.0)
    with pytest.raises(TypeError, match="colour function"):
        colour.values(0.0, 0.0)
    with pytest.raises(TypeError, match="scalar field"):
        field.colours(0.0, 0.0)
    with pytest.raises(ValueError, match="region 10 0 7 8 does not lie inside the 16 x 8 grid"):
        field.bake_pixels(grid, region=(10, 0, 7, 8))
    with pytest.raises(ValueError, match="region 0 0 0 8"):
        field.bake_values(grid, region=(0, 0, 0, 8))
    with pytest.raises(ValueError, match="no grey"):
        colour.bake_pixels(grid, channels="grey")
    with pytest.raises(ValueError, match="depth 12"):
        field.bake_pixels(grid, depth=12)
    with pytest.raises(ValueError, match="width 0"):
        sftex.Grid.flat(0, 8)
    with pytest.raises(ValueError, match="extent is not above 0"):
        sftex.Grid.flat(8, 8, -1.0)
    with pytest.raises(ValueError, match="radius is not a finite number"):
        sftex.Grid.sphere(8, 8, float("inf"))
    with pytest.raises(ValueError, match="threads -1"):
        field.bake_pixels(grid, threads=-1)
    with pytest.raises(ValueError, match="height x width x 3"):
        sftex.write_ppm("never.ppm", np.zeros((4, 4), np.uint8))
    with pytest.raises(TypeError, match="uint8 or uint16"):
        sftex.write_ppm("never.ppm", np.zeros((4, 4, 3), np.float32))
    with pytest.raises(FileNotFoundError):
        sftex.read_graph("no/such/graph.json")
    # 8 TiB of values: refused by the allocator, not the end of the process.
    with pytest.raises(MemoryError):
        field.bake_values(sftex.Grid.flat(1 << 20, 1 << 20))
