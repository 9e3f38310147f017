#pragma once

#include "app/world_document.h"

#include <QString>

class WorldView;

// Writes the world's shapes, rate and mode to `path` atomically.
bool writeWorldFile(const QString& path, const WorldView& world, QString& error);
// Reads a world of at most WorldView::openedPopulationCap creatures; on failure
// `record` is left untouched and `error` says why.
bool readWorldFile(const QString& path, WorldRecord& record, QString& error);
