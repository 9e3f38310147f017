#pragma once

class WorldView;
class QSlider;
class QWidget;

// The column beside the world view: the mutation-rate slider (0..200, set to
// 50) and the buttons "mode random", "mode mutate", "mode manykids" and
// "nuke 'em", connected to `world`. The widget has no parent; the
// caller's layout adopts it. The slider is handed out too, so that an
// opened world can set it.
struct ControlColumn {
    QWidget* widget;
    QSlider* rateSlider;
};
ControlColumn buildControlColumn(WorldView* world);
