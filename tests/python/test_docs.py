"""The example of docs/python.md, run as written: it must save texbake's
picture."""

import re
import subprocess
import sys

from conftest import GALLERY, ROOT, texbake


def test_example_saves_texbakes_picture(tmp_path):
    page = (ROOT / "docs" / "python.md").read_text()
    example = re.search(r"## A picture in ten lines\n\n(?:<!-- doc-test: [^\n]*-->\n)?```python\n(.*?)```", page, re.S).group(1)
    assert len(example.strip().splitlines()) <= 10
    (tmp_path / "docs").symlink_to(ROOT / "docs")
    run = subprocess.run([sys.executable, "-c", example], cwd=tmp_path, capture_output=True, text=True)
    assert run.returncode == 0, run.stderr
    assert run.stdout.startswith("(512, 512, 3) [")
    texbake(GALLERY / "marble.json", "--width", 512, "--height", 512, "--extent", 4, "-o", tmp_path / "texbake.ppm")
    assert (tmp_path / "marble.ppm").read_bytes() == (tmp_path / "texbake.ppm").read_bytes()
