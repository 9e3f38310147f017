#include "breeder/preview_tile.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int frameWidth = 3;

} // namespace

PreviewTile::PreviewTile(int side) : side(side)
{
    setFixedSize(sizeHint());
    setCursor(Qt::PointingHandCursor);
}

void PreviewTile::setPicture(const QImage& picture)
{
    shown = picture;
    update();
}

void PreviewTile::setParentFrame(bool isParent)
{
    parent = isParent;
    update();
}

QSize PreviewTile::sizeHint() const
{
    return QSize(side + 2 * frameWidth, side + 2 * frameWidth);
}

void PreviewTile::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), parent ? palette().highlight() : palette().window());
    const QRect inner = rect().adjusted(frameWidth, frameWidth, -frameWidth, -frameWidth);
    if (shown.isNull())
        painter.fillRect(inner, Qt::darkGray);
    else
        painter.drawImage(inner, shown);
}

void PreviewTile::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit chosen();
}
