#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
class QMenuBar;
class QPushButton;
class QSlider;
class SuperFormula;
class SuperView;

// The shape editor: a top-level window with a live preview of its own copy
// of a shape, nine parameter sliders, three colour buttons and "insert",
// which hands a further copy to the world. Its File menu keeps the shape in
// a creature file, opens one in its place and exports its picture. Closing
// the window deletes it, and with it the preview, its GL context and timer.
//
// The world is any object with a slot addNewThing(SuperFormula*) that takes
// ownership of the shape it is given: the world view passes itself. The
// editor reaches it through the meta-object system, so it depends on no
// particular class of world.
class SuperViewBox : public QWidget {
    Q_OBJECT

public:
    // Takes ownership of `shape` (through the preview), builds and shows the
    // window and starts the preview's timer. `world` may be null.
    SuperViewBox(SuperFormula* shape, QObject* world);
    ~SuperViewBox() override;

    SuperView* previewWidget() const { return preview; }
    QPushButton* insertButtonWidget() const { return insertButton; }
    // Slider and label i belong to shape parameter i (0 to 8).
    QSlider* slider(int i) const { return sliders[i]; }
    QLabel* label(int i) const { return labels[i]; }
    // Button k (0 to 2) edits shape colour k.
    QPushButton* colourButton(int k) const { return colourButtons[k]; }
    QMenuBar* menuBar() const { return menus; }

    // The File menu's work, without dialogs: each returns false with
    // `error` set on failure, leaving the editor and the file as they were.
    bool saveCreature(const QString& path, QString& error) const;
    // Edits the creature of the file instead; the sliders follow it.
    bool openCreature(const QString& path, QString& error);
    // The shape alone on a transparent square of `side` pixels, as PNG.
    bool exportPicture(const QString& path, int side, QString& error);

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
    QMenuBar* buildMenus();
    // Puts every slider at its parameter's position without writing into the shape.
    void placeSliders();
    void openCreatureFromDialog();
    void saveCreatureFromDialog();
    void exportPictureFromDialog();
    void showProblem(const QString& action, const QString& file, const QString& error);
    // Parameter slot i: writes slider position p into the shape.
    void setParam(int i, int p);
    // Colour slot k: lets the user pick shape colour k in the colour dialog.
    void setColour(int k);

    SuperView* preview;
    QPushButton* insertButton;
    QSlider* sliders[9];
    QLabel* labels[9];
    QPushButton* colourButtons[3];
    QMenuBar* menus;
    // Not owned; a guarded pointer, so that "insert" after the world is gone
    // does nothing instead of touching a destroyed object.
    QPointer<QObject> world;
};
