#pragma once

#include <QWidget>

class GLWidget;
class QLabel;
class QPushButton;
class QSlider;
class SuperFormula;
class SuperView;

// The shape editor: a top-level window with a live preview of its own copy
// of a shape, nine parameter sliders, three colour buttons and "insert",
// which hands a further copy to the world view.
class SuperViewBox : public QWidget {
    Q_OBJECT

public:
    // Takes ownership of `shape` (through the preview), builds and shows the
    // window and starts the preview's timer.
    SuperViewBox(SuperFormula* shape, GLWidget* world);
    ~SuperViewBox() override;

protected slots:
    void setParam0(int p);
    void setParam1(int p);
    void setParam2(int p);
    void setParam3(int p);
    void setParam4(int p);
    void setParam5(int p);
    void setParam6(int p);
    void setParam7(int p);
    void setParam8(int p);
    void insert();
    void setColour0();
    void setColour1();
    void setColour2();

private:
    SuperView* preview;
    QPushButton* insertButton;
    QSlider* sliders[9];
    QLabel* labels[9];
    QPushButton* colourButtons[3];
    GLWidget* world;
};
