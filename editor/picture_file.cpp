#include "editor/picture_file.h"

#include "shape/whole_file.h"

#include <QBuffer>

const SaveKind pictureFiles = {"Export picture", "PNG pictures (*.png)", "png", "export"};

bool savePicture(const QString& path, const QImage& picture, QString& error)
{
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG")) {
        error = QStringLiteral("the picture could not be encoded as PNG");
        return false;
    }
    return saveFile(path, png, error);
}
