#pragma once

#include "editor/save_dialog.h"

#include <QImage>
#include <QString>

// Writes `picture` to `path` as a PNG, whole or not at all (saveFile): a
// failed export leaves an old file as it was and says why in `error`.
bool savePicture(const QString& path, const QImage& picture, QString& error);

// PNG pictures, as the save dialogs offer them.
extern const SaveKind pictureFiles;
