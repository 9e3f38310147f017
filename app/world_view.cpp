#include "app/world_view.h"

#include "app/world_background.h"
#include "app/world_frame.h"
#include "editor/creature_editor.h"
#include "shape/shape_random.h"

#include <QMouseEvent>

#include <GL/gl.h>

#include <algorithm>
#include <unordered_map>
#include <ctime>
#include <memory>

namespace {

// Makes background number `number` the frames' `texture` unless it is
// already: `image` in a texture of its own, or without one the texture the
// set-up baked, kept as it was (its noise is seeded from the clock, so it
// could not be baked again).
void bringBackground(GLuint& texture, const std::shared_ptr<const QImage>& image, int number,
                     WorldView::BackgroundTextures& textures)
{
    if (textures.number == number)
        return;
    if (!textures.baked)
        textures.baked = texture;
    if (image) {
        if (!textures.image)
            glGenTextures(1, &textures.image);
        uploadBackground(textures.image, *image);
        texture = textures.image;
    } else {
        texture = textures.baked;
    }
    textures.number = number;
}

} // namespace

// The projection spans -0.5 to 0.5, where the background lies, the world -5
// to 5. Every 5 ms a tick moves the world on by 0.005 time units.
WorldView::WorldView(QWidget* parent, std::optional<unsigned> seed)
    : CreatureView(0.5, 5.0, 5, 0.005, worldClearColour, setUpBackground, parent)
{
    seedShapeRandom(seed ? *seed : static_cast<unsigned int>(std::time(nullptr)));
    for (int i = 0; i < 20; ++i) {
        std::unique_ptr<SuperFormula> creature(randomSuperFormula());
        model.add(std::move(*creature));
    }
    model.setChangeHandler([this](World::Change change) { worldChanged(change); });
    showModeCursor();
    setMouseTracking(true);
}

WorldView::~WorldView()
{
    // The drawer frees the texture its frames use; the other is freed here.
    if (backgroundNumber > 0)
        render([textures = backgroundTextures](FrameDrawer::Canvas& canvas) {
            GLuint other = canvas.texture == textures->baked ? textures->image : textures->baked;
            if (other)
                glDeleteTextures(1, &other);
            return QImage();
        });
}

QSize WorldView::sizeHint() const
{
    return QSize(800, 800);
}

QSize WorldView::minimumSizeHint() const
{
    return QSize(200, 200);
}

void WorldView::showModeCursor()
{
    switch (model.mode()) {
    case BreedingMode::random:
        setCursor(Qt::WhatsThisCursor);
        break;
    case BreedingMode::mutate:
        setCursor(Qt::UpArrowCursor);
        break;
    case BreedingMode::manyKids:
        setCursor(Qt::SizeAllCursor);
        break;
    }
}

void WorldView::worldChanged(World::Change change)
{
    if (change == World::Change::settings) {
        showModeCursor();
    } else {
        changed();
        updateHover();
    }
    emit edited();
}

void WorldView::advance(double step)
{
    model.advance(step);
    // Creatures swim under a still pointer.
    updateHover();
}

void WorldView::mouseMoveEvent(QMouseEvent* event)
{
    pointer = worldPointAt(event->position());
    updateHover();
}

void WorldView::leaveEvent(QEvent* event)
{
    pointer.reset();
    updateHover();
    CreatureView::leaveEvent(event);
}

void WorldView::updateHover()
{
    const std::optional<std::size_t> index = pointer ? model.creatureAt(pointer->x(), pointer->y()) : std::nullopt;
    const SuperFormula* creature = index ? &model.creatures()[*index] : nullptr;
    // Compared by its whole lineage: an opened world may give the id to
    // another creature.
    const SuperFormula::Lineage lineage = creature ? creature->lineage : SuperFormula::Lineage{};
    if (lineage.id == hoveredLineage.id && lineage.parent == hoveredLineage.parent
        && lineage.generation == hoveredLineage.generation)
        return;
    hoveredLineage = lineage;
    changed();
    if (!creature) {
        emit hovered(QString());
        return;
    }
    const QString parent = lineage.parent == SuperFormula::noParent
        ? tr("no parent")
        : tr("child of creature %1").arg(lineage.parent);
    emit hovered(tr("Creature %1: generation %2, %3").arg(lineage.id).arg(lineage.generation).arg(parent));
}

std::vector<SuperFormula::Vector> WorldView::ancestorPlaces() const
{
    std::vector<SuperFormula::Vector> places;
    const SuperFormula* creature = hoveredLineage.id ? model.creatureWithId(hoveredLineage.id) : nullptr;
    if (!creature || creature->lineage.parent == SuperFormula::noParent)
        return places;
    std::unordered_map<std::uint64_t, const SuperFormula*> byId;
    for (const SuperFormula& other : model.creatures())
        byId.emplace(other.lineage.id, &other);
    // A parent is born before its child, so the walk ends.
    for (auto found = byId.find(creature->lineage.parent); found != byId.end();
         found = byId.find(found->second->lineage.parent))
        places.push_back(found->second->position);
    return places;
}

FrameDrawer::Drawing WorldView::frame(bool ticked)
{
    FrameDrawer::Drawing drawing = worldFrame(model.snapshot(), ticked, ancestorPlaces());
    if (backgroundNumber == 0)
        return drawing;
    // A frame may be dropped unstarted: each one carries the latest
    // background, and the first one drawn puts it into the texture.
    return [drawing = std::move(drawing), image = background, number = backgroundNumber,
            textures = backgroundTextures](FrameDrawer::Canvas& canvas) {
        bringBackground(canvas.texture, image, number, *textures);
        drawing(canvas);
    };
}

void WorldView::setBackground(const QImage& image)
{
    background = image.isNull() ? nullptr
                                : std::make_shared<const QImage>(image.convertToFormat(QImage::Format_RGBA8888));
    ++backgroundNumber;
    changed();
}

QImage WorldView::backgroundTexture()
{
    return render([image = background, number = backgroundNumber,
                   textures = backgroundTextures](FrameDrawer::Canvas& canvas) {
        bringBackground(canvas.texture, image, number, *textures);
        glBindTexture(GL_TEXTURE_2D, canvas.texture);
        GLint width = 0;
        GLint height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        QImage texels(width, height, QImage::Format_RGBA8888);
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.bits());
        return texels;
    });
}

void WorldView::mousePressEvent(QMouseEvent* event)
{
    // Presses beside the square the view draws into are ignored.
    const std::optional<QPointF> point = worldPointAt(event->position());
    if (!point)
        return;
    switch (event->button()) {
    case Qt::RightButton:
        changes.removeAt(point->x(), point->y());
        break;
    case Qt::LeftButton:
        if (changes.clickAt(point->x(), point->y()).refused)
            emit populationFull();
        break;
    default:
        editAt(point->x(), point->y());
        break;
    }
}

void WorldView::addCopyOf(const SuperFormula& creature)
{
    if (!changes.insert(creature))
        emit populationFull();
}

void WorldView::editAt(double x, double y)
{
    if (const std::optional<std::size_t> index = model.creatureAt(x, y))
        openEditor(model.creatures()[*index]);
}

void WorldView::openEditor(const SuperFormula& creature)
{
    // The editor owns its copy and shows itself; it has no parent, so it
    // outlives this view, and deletes itself when closed.
    editors.erase(std::remove_if(editors.begin(), editors.end(),
                                 [](const QPointer<CreatureEditor>& editor) { return editor.isNull(); }),
                  editors.end());
    CreatureEditor* editor = new CreatureEditor(new SuperFormula(creature));
    connect(editor, &CreatureEditor::inserted, this, &WorldView::addCopyOf);
    editors.emplace_back(editor);
}

std::vector<CreatureEditor*> WorldView::openEditors() const
{
    std::vector<CreatureEditor*> open;
    for (const QPointer<CreatureEditor>& editor : editors)
        if (editor)
            open.push_back(editor);
    return open;
}
