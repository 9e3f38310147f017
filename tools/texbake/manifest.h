#pragma once

#include "tools/texbake/options.h"

#include "texture/texture_graph.h"

#include <string>

namespace texbake {

// The manifest of a bake: a small JSON file that says what the whole bake
// is and what this run of texbake wrote of it, so that the tiles of one bake,
// baked by any number of jobs, can be checked and put together
// (scripts/stitch):
//
//     {"format": "texbake-manifest", "version": 1,
//      "graph": {"output": "marble", "sha256": "…"},
//      "grid": {"kind": "flat", "width": 4096, "height": 4096, "extent": 8, "origin": [0, 0], "z": 0},
//      "image": {"format": "png", "depth": 8, "channels": "rgba"},
//      "tiling": {"columns": 4, "rows": 4},
//      "tiles": [{"index": 0, "region": [0, 0, 1024, 1024]}, …,
//                {"index": 5, "region": [1024, 1024, 1024, 1024], "file": "tile-5.png", "sha256": "…"}, …]}
//
// The graph's hash is that of its text as writeGraph gives it, so that two
// files of the same graph, however laid out, agree. Every tile of the tiling
// is listed with its region; the one this run baked (the whole grid as tile
// 0 of 1x1 without --tiles, or the --region as its only entry) also with
// the output's file name and the SHA-256 of its bytes.

// The SHA-256 of the file at `path` in hexadecimal, or empty when it cannot
// be read (errno says why).
std::string fileSha256(const std::string& path);

// The SHA-256 of `text` in hexadecimal.
std::string textSha256(const std::string& text);

// Writes the manifest of the bake `options` describe, after the output was
// written; false, with `error` saying why, when it cannot.
bool writeManifest(const Options& options, const tex::Graph& graph, tex::Channels channels, std::string& error);

} // namespace texbake
