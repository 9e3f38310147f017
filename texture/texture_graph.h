#pragma once

// Texture graphs in JSON files (link texture_graph): readGraph, writeGraph,
// and readJson, the strict JSON reader they use, for any JSON a program
// reads. Includes texture/texture.h.

#include "texture/graph/graph.h"
#include "texture/graph/json_reader.h"
#include "texture/texture.h"
