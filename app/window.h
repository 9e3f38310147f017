#pragma once

#include <QWidget>

class GLWidget;

// The main window: the world view on the left, the control column on the
// right. It starts the world's tick once it is built; it does not show itself.
class Window : public QWidget {
    Q_OBJECT

public:
    Window();

    GLWidget* worldView() const { return world; }

private:
    GLWidget* world;
};
