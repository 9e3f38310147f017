#include "app/world_file.h"

#include "app/gl_widget.h"
#include "shape/shape_file.h"

static_assert(GLWidget::ModeRandom == 0 && GLWidget::ModeMutate == 1 && GLWidget::ModeManyKids == 2,
              "world files name the breeding modes by these numbers");

bool writeWorldFile(const QString& path, const GLWidget& world, QString& error)
{
    QJsonObject document;
    const std::vector<const SuperFormula*> shapes(world.population().begin(), world.population().end());
    return worldToDocument(world.mutationRateValue(), world.modeValue(), shapes, document, error)
        && writeFormatDocument(path, document, error);
}

bool readWorldFile(const QString& path, WorldRecord& record, QString& error)
{
    const QJsonObject document = readFormatDocument(path, error);
    return !document.isEmpty() && worldFromDocument(document, GLWidget::populationCap, record, error);
}
