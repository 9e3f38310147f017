#include "breeder/breeder_window.h"

#include "breeder/litter.h"
#include "breeder/preview_tile.h"

#include "support/atomic_file.h"

#include <QAction>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QUndoCommand>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>
#include <ctime>

using breeder::litterSize;
using breeder::parentPlace;

namespace {

tex::Random seeded(std::optional<unsigned> seed)
{
    tex::Random random;
    random.seed(seed.value_or(static_cast<std::uint32_t>(std::time(nullptr))));
    return random;
}

QImage pictureOf(const std::vector<std::uint8_t>& pixels, int side)
{
    QImage picture(side, side, QImage::Format_RGB888);
    for (int row = 0; row < side; ++row)
        std::memcpy(picture.scanLine(row), pixels.data() + std::size_t(row) * side * 3, std::size_t(side) * 3);
    return picture;
}

} // namespace

// One click: the litter and generator before it and after it.
class BreederWindow::Choice : public QUndoCommand {
public:
    Choice(BreederWindow& window, State before, State after)
        : QUndoCommand(QObject::tr("Choose parent")), window(window), before(std::move(before)),
          after(std::move(after))
    {
    }

    void undo() override { window.display(before); }
    void redo() override { window.display(after); }

private:
    BreederWindow& window;
    const State before;
    const State after;
};

BreederWindow::BreederWindow(const breeder::BredGraph& parent, double rate, std::optional<unsigned> seed)
    : random(seeded(seed)), rate(rate)
{
    setWindowTitle(tr("Breed background"));

    auto* grid = new QGridLayout;
    grid->setSpacing(4);
    for (int place = 0; place < litterSize; ++place) {
        auto* tile = new PreviewTile(previewSide);
        connect(tile, &PreviewTile::chosen, this, [this, place] { choose(place); });
        grid->addWidget(tile, place / 3, place % 3);
        tiles.push_back(tile);
    }

    auto* use = new QPushButton(tr("Use as background"));
    auto* save = new QPushButton(tr("Save graph…"));
    auto* undo = new QPushButton(tr("Undo"));
    undo->setEnabled(false);
    connect(use, &QPushButton::pressed, this, [this] { emit useAsBackground(parentGraph().text); });
    connect(save, &QPushButton::pressed, this, &BreederWindow::askToSave);
    connect(undo, &QPushButton::pressed, &history, &QUndoStack::undo);
    connect(&history, &QUndoStack::canUndoChanged, undo, &QPushButton::setEnabled);
    QAction* undoAction = history.createUndoAction(this);
    undoAction->setShortcuts(QKeySequence::Undo);
    QAction* redoAction = history.createRedoAction(this);
    redoAction->setShortcuts(QKeySequence::Redo);
    addAction(undoAction);
    addAction(redoAction);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(use);
    buttons->addWidget(save);
    buttons->addWidget(undo);
    auto* column = new QVBoxLayout;
    column->addLayout(grid);
    column->addLayout(buttons);
    setLayout(column);

    bakes = std::make_unique<breeder::PreviewBakes>(
        tex::Grid::flat(previewSide, previewSide, 16.0, 0.0, 0.0, 0.0), std::max(1, QThread::idealThreadCount()),
        [this](int litter, int index, std::vector<std::uint8_t> pixels) {
            const QImage picture = pictureOf(pixels, previewSide);
            QMetaObject::invokeMethod(
                this, [this, litter, index, picture] { previewBaked(litter, index, picture); }, Qt::QueuedConnection);
        });
    display(State{breeder::breedLitter(parent, rate, random), random});
}

BreederWindow::~BreederWindow()
{
    // The workers report to this window: they stop before it goes.
    bakes.reset();
}

const breeder::BredGraph& BreederWindow::parentGraph() const
{
    return graphs[parentPlace];
}

const QImage& BreederWindow::preview(int place) const
{
    return tiles[std::size_t(place)]->picture();
}

void BreederWindow::choose(int place)
{
    State before{graphs, random};
    std::vector<breeder::BredGraph> next = breeder::breedLitter(graphs[std::size_t(place)], rate, random);
    history.push(new Choice(*this, std::move(before), State{std::move(next), random}));
}

void BreederWindow::setMutationRate(double newRate)
{
    rate = newRate;
}

void BreederWindow::display(const State& state)
{
    graphs = state.litter;
    random = state.random;
    std::vector<std::shared_ptr<const tex::Graph>> pending;
    for (const breeder::BredGraph& graph : graphs)
        pending.push_back(graph.graph);
    baking = bakes->bake(pending);
    for (std::size_t place = 0; place < tiles.size(); ++place) {
        tiles[place]->setPicture(QImage());
        tiles[place]->setParentFrame(int(place) == parentPlace);
    }
}

void BreederWindow::previewBaked(int litter, int index, const QImage& picture)
{
    if (litter == baking)
        tiles[std::size_t(index)]->setPicture(picture);
}

bool BreederWindow::saveGraph(const QString& path, bool quiet)
{
    const std::string& text = parentGraph().text;
    tex::AtomicFile file(path.toStdString());
    if (file.write(text.data(), text.size()) && file.commit())
        return true;
    if (!quiet)
        QMessageBox::warning(this, tr("Save graph"),
                             tr("%1 could not be written: %2")
                                 .arg(path, file.failure().error != 0
                                                ? QString::fromLocal8Bit(std::strerror(file.failure().error))
                                                : tr("the write failed")));
    return false;
}

void BreederWindow::askToSave()
{
    const QString path =
        QFileDialog::getSaveFileName(this, tr("Save graph"), QString(), tr("Graph files (*.json);;All files (*)"));
    if (!path.isEmpty())
        saveGraph(path);
}
