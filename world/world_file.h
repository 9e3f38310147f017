#pragma once

#include "world/world_document.h"

#include <QString>

class World;

// Writes the world's creatures, rate and mode to `path` atomically.
bool writeWorldFile(const QString& path, const World& world, QString& error);
// Reads a world of at most World::populationBound creatures; on failure
// `record` is left untouched and `error` says why.
bool readWorldFile(const QString& path, WorldRecord& record, QString& error);
