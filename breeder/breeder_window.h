#pragma once

#include "breeder/bred_graph.h"
#include "breeder/preview_bakes.h"

#include "support/random.h"

#include <QUndoStack>
#include <QWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class PreviewTile;

// The texture breeder: a litter of nine previews, the parent in the middle
// and eight of its mutants around it (see litter.h). Clicking a preview
// makes it the parent of the next litter; Undo goes back to the litter
// before, redo forward again. Below the litter, "Use as background" hands
// the parent's graph file to whoever listens, and "Save graph…" writes it
// as a file texbake bakes to the same pixels.
//
// Breeding is seeded: the same seed, rate and clicks breed the same graphs,
// whatever the bakes are doing. The previews are baked on worker threads
// and shown as they come in; a click never waits for them, and a litter
// left behind stops baking.
class BreederWindow : public QWidget {
    Q_OBJECT

public:
    // The side of a preview in pixels.
    static constexpr int previewSide = 128;

    // Breeds from `parent` at mutation `rate` (0 to 2), drawing from a
    // generator seeded with `seed`, or from the clock without one.
    BreederWindow(const breeder::BredGraph& parent, double rate, std::optional<unsigned> seed = std::nullopt);
    ~BreederWindow() override;

    const std::vector<breeder::BredGraph>& litter() const { return graphs; }
    const breeder::BredGraph& parentGraph() const;
    // The preview at `place` (0 to 8), null while it bakes.
    const QImage& preview(int place) const;
    QUndoStack& undoStack() { return history; }

    // Writes the parent's graph file to `path`, whole or not at all. False,
    // with a message box unless `quiet`, when it cannot be written.
    bool saveGraph(const QString& path, bool quiet = false);

public slots:
    // What a click on the preview at `place` does: breeds the next litter
    // from it, as one step that Undo takes back.
    void choose(int place);
    void setMutationRate(double rate);

signals:
    // "Use as background": the parent's graph file.
    void useAsBackground(const std::string& graphText);

private:
    // What Undo and redo move between.
    struct State {
        std::vector<breeder::BredGraph> litter;
        tex::Random random;
    };
    class Choice;

    void display(const State& state);
    void previewBaked(int litter, int index, const QImage& picture);
    void askToSave();

    std::vector<breeder::BredGraph> graphs;
    tex::Random random;
    double rate;
    QUndoStack history;
    std::vector<PreviewTile*> tiles;
    // The number of the litter being baked, as the bakes count.
    int baking = 0;
    std::unique_ptr<breeder::PreviewBakes> bakes;
};
