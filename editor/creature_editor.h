#pragma once

#include <QWidget>

class CreaturePreview;
class QLabel;
class QMenuBar;
class QPushButton;
class QSlider;
class SuperFormula;

// The shape editor: a top-level window with a live preview of its own copy
// of a shape, nine parameter sliders, three colour buttons and "insert",
// which hands a further copy to the world. Its File menu keeps the shape in
// a creature file, opens one in its place and exports its picture. Closing
// the window deletes it, and with it the preview, its GL context and timer.
//
// The editor knows no world: "insert" hands the copy out through inserted(),
// which whoever keeps creatures connects.
class CreatureEditor : public QWidget {
    Q_OBJECT

public:
    // What the open and save dialogs of creature files list.
    static constexpr const char* fileFilter = "Creatures (*.json);;All files (*)";

    // Takes ownership of `shape` (through the preview), builds and shows the
    // window and starts the preview's timer.
    explicit CreatureEditor(SuperFormula* shape);
    ~CreatureEditor() override;

    CreaturePreview* previewWidget() const { return preview; }
    QPushButton* insertButtonWidget() const { return insertButton; }
    // Slider and label i belong to shape parameter i (0 to 8).
    QSlider* slider(int i) const { return sliders[i]; }
    QLabel* label(int i) const { return labels[i]; }
    // Button k (0 to 2) edits shape colour k.
    QPushButton* colourButton(int k) const { return colourButtons[k]; }
    QMenuBar* menuBar() const { return menus; }

    // The File menu's work, without dialogs: each returns false with
    // `error` set on failure, leaving the editor and the file as they were.
    // A name for a new file gets ".json" or ".png" where it has no suffix
    // (withDefaultSuffix).
    bool saveCreature(const QString& path, QString& error) const;
    // Edits the creature of the file instead; the sliders follow it.
    bool openCreature(const QString& path, QString& error);
    // The shape alone on a transparent square of `side` pixels, as PNG.
    bool exportPicture(const QString& path, int side, QString& error);

    // From now on "insert" is disabled: whoever received its creatures
    // takes no more. The window's title says `why` ("the world has
    // closed"), the button's tooltip that saving keeps the creature.
    void refuseInsert(const QString& why);

signals:
    // "insert": the edited shape, placed at the world's centre. Receivers
    // copy it; the editor goes on editing its own.
    void inserted(const SuperFormula& shape);

private:
    QMenuBar* buildMenus();
    // Puts every slider at its parameter's position without writing into the shape.
    void placeSliders();
    void openCreatureFromDialog();
    void saveCreatureFromDialog();
    void exportPictureFromDialog();
    void showProblem(const QString& action, const QString& file, const QString& error);
    // Slider i moved to p: writes parameter i into the shape.
    void setParam(int i, int p);
    // Colour button k: lets the user pick shape colour k in the colour dialog.
    void setColour(int k);
    // Centres the shape and sends it out, when anyone receives it.
    void insert();

    CreaturePreview* preview;
    QPushButton* insertButton;
    QSlider* sliders[9];
    QLabel* labels[9];
    QPushButton* colourButtons[3];
    QMenuBar* menus;
};
