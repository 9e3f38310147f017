#pragma once

#include <QImage>
#include <QWidget>

// One preview of a litter: the picture once its bake is in, a plain grey
// square until then. A press of the left button chooses it.
class PreviewTile : public QWidget {
    Q_OBJECT

public:
    // `side` pixels square.
    explicit PreviewTile(int side);

    // Shows `picture`; a null image shows the tile as still baking.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return shown; }
    // The litter's parent gets a frame.
    void setParentFrame(bool parent);

    QSize sizeHint() const override;

signals:
    void chosen();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int side;
    QImage shown;
    bool parent = false;
};
