#include "shape/shape_file.h"

#include "shape/creature_bounds.h"
#include "shape/super_formula.h"
#include "shape/whole_file.h"
#include "texture/graph/json_reader.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>
#include <string_view>

const QString fileFormatName = QStringLiteral("superformula-world");

namespace {

const QString negativeZero = QStringLiteral("-0");

QJsonValue number(double v)
{
    if (v == 0 && std::signbit(v))
        return negativeZero;
    return v;
}

bool readNumber(const QJsonValue& value, double& v)
{
    if (value.isDouble()) {
        v = value.toDouble();
        return true;
    }
    if (value == negativeZero) {
        v = -0.0;
        return true;
    }
    return false;
}

QJsonArray numbers(std::initializer_list<double> values)
{
    QJsonArray array;
    for (double v : values)
        array.append(number(v));
    return array;
}

// Reads the fields of one record, remembering the first that is missing or
// of the wrong type.
class RecordReader {
public:
    explicit RecordReader(const QJsonObject& record)
        : record(record)
    {
    }

    double number(const char* key)
    {
        double v = 0;
        if (!readNumber(field(key), v))
            fail(key, "a number");
        return v;
    }

    int integer(const char* key)
    {
        const double v = number(key);
        if (ok() && !(v == std::trunc(v) && v >= -2147483648.0 && v <= 2147483647.0))
            fail(key, "a whole number");
        return ok() ? static_cast<int>(v) : 0;
    }

    bool boolean(const char* key)
    {
        const QJsonValue value = field(key);
        if (!value.isBool())
            fail(key, "true or false");
        return value.toBool();
    }

    // An array of exactly `count` numbers.
    void numbers(const char* key, double* out, int count) { numbersIn(field(key), key, out, count); }

    // Three arrays of four numbers each, as single-precision components.
    void colours(const char* key, float (*out)[4])
    {
        const QJsonValue value = field(key);
        if (!value.isArray() || value.toArray().size() != 3)
            fail(key, "a list of three lists of four numbers");
        for (int k = 0; k < 3 && ok(); ++k) {
            double components[4] = {};
            numbersIn(value.toArray()[k], key, components, 4);
            for (int c = 0; c < 4; ++c)
                out[k][c] = float(components[c]);
        }
    }

    bool ok() const { return error.isEmpty(); }
    QString error;

private:
    QJsonValue field(const char* key)
    {
        const QJsonValue value = record.value(QLatin1String(key));
        if (ok() && value.isUndefined())
            error = QStringLiteral("the field \"%1\" is missing").arg(QLatin1String(key));
        return value;
    }

    void numbersIn(const QJsonValue& value, const char* key, double* out, int count)
    {
        const char* what = count == 2 ? "a pair of numbers" : "a list of three lists of four numbers";
        const QJsonArray array = value.toArray();
        if (!value.isArray() || array.size() != count)
            fail(key, what);
        for (int i = 0; i < count && ok(); ++i)
            if (!readNumber(array[i], out[i]))
                fail(key, what);
    }

    void fail(const char* key, const char* what)
    {
        if (ok())
            error = QStringLiteral("\"%1\" is not %2").arg(QLatin1String(key), QLatin1String(what));
    }

    QJsonObject record;
};

// Where in a file the value at JSON `pointer` lies, for a message.
QString placeOf(const std::string& pointer)
{
    if (pointer.empty())
        return QStringLiteral("at the top level");
    const QString text = QString::fromStdString(pointer);
    static const QLatin1String creatures("/creatures/");
    bool isIndex = false;
    const int index = text.startsWith(creatures) ? text.mid(creatures.size()).toInt(&isIndex) : 0;
    if (isIndex)
        return QStringLiteral("in creature %1").arg(index + 1);
    return QStringLiteral("at %1").arg(text);
}

// Whether `bytes` pass the library's strict JSON reading, the policy of the
// texture graph files too; otherwise `error` says why, in the words of this
// reader's other messages.
bool isStrictJson(const QByteArray& bytes, QString& error)
{
    nlohmann::json document;
    tex::JsonError problem;
    tex::JsonLimits limits;
    limits.maxBytes = std::size_t(maxFileBytes);
    if (tex::readJson(std::string_view(bytes.constData(), std::size_t(bytes.size())), limits, document, problem))
        return true;
    const QString message = QString::fromStdString(problem.message);
    switch (problem.place) {
    case tex::JsonError::Place::Text:
        error = QStringLiteral("it is not JSON or is cut short (line %1, column %2: %3)")
                    .arg(problem.line)
                    .arg(problem.column)
                    .arg(message);
        break;
    case tex::JsonError::Place::Value:
        error = QStringLiteral("%1 %2").arg(message, placeOf(problem.pointer));
        break;
    case tex::JsonError::Place::Document:
        error = message;
        break;
    }
    return false;
}

} // namespace

QJsonObject shapeToJson(const SuperFormula& shape)
{
    QJsonArray colours;
    for (const auto& colour : shape.colour)
        colours.append(numbers({colour[0], colour[1], colour[2], colour[3]}));
    return QJsonObject{
        {"a", number(shape.a)},
        {"b", number(shape.b)},
        {"m", number(shape.m)},
        {"n1", number(shape.n1)},
        {"n2", number(shape.n2)},
        {"n3", number(shape.n3)},
        {"samples", shape.samples},
        {"angle", number(shape.angle)},
        {"rotspeed", number(shape.rotspeed)},
        {"colours", colours},
        {"border", number(shape.border)},
        {"eye", number(shape.eye)},
        {"speed", number(shape.speed)},
        {"wander", number(shape.wander)},
        {"heading", numbers({shape.heading.x, shape.heading.y})},
        {"position", numbers({shape.position.x, shape.position.y})},
        {"blinkTime", number(shape.blinkTime)},
        {"eyeClosed", shape.eyeClosed},
    };
}

std::unique_ptr<SuperFormula> shapeFromJson(const QJsonValue& value, QString& error)
{
    if (!value.isObject()) {
        error = QStringLiteral("it is not a record of fields");
        return nullptr;
    }
    RecordReader read(value.toObject());
    double formula[6];
    for (int i = 0; i < 6; ++i)
        formula[i] = read.number(paramName(i).c_str());
    auto shape = std::make_unique<SuperFormula>(formula[0], formula[1], formula[2], formula[3], formula[4],
                                                formula[5], 0);
    // Stored as it was: the count does not follow m once the shape exists.
    shape->samples = read.integer("samples");
    shape->angle = read.number("angle");
    shape->rotspeed = read.number("rotspeed");
    read.colours("colours", shape->colour);
    shape->border = read.number("border");
    shape->eye = read.number("eye");
    shape->speed = read.number("speed");
    shape->wander = read.number("wander");
    double heading[2] = {};
    double position[2] = {};
    read.numbers("heading", heading, 2);
    read.numbers("position", position, 2);
    shape->heading = {heading[0], heading[1]};
    shape->position = {position[0], position[1]};
    shape->blinkTime = read.number("blinkTime");
    shape->eyeClosed = read.boolean("eyeClosed");
    error = read.ok() ? shapeProblem(*shape) : read.error;
    if (!error.isEmpty())
        return nullptr;
    return shape;
}

QString shapeProblem(const SuperFormula& shape)
{
    for (const FieldBounds& bounds : creatureBounds) {
        const QLatin1String name(bounds.name);
        const FieldValues values = fieldValues(shape, bounds.field);
        for (double v : values)
            if (!std::isfinite(v))
                return QStringLiteral("\"%1\" is not a finite number").arg(name);
        if (bounds.field == CreatureField::heading) {
            if (!isDirection(shape.heading))
                return QStringLiteral("\"heading\" is not a direction (a pair of length 1)");
            continue;
        }
        // The animation folds an angle into its turn; any finite one will do.
        if (bounds.wraps)
            continue;
        for (double v : values)
            if (!bounds.contains(v))
                return QStringLiteral("\"%1\" lies outside %2 to %3")
                    .arg(name, QString::number(bounds.lo, 'g', 15), QString::number(bounds.hi, 'g', 15));
    }
    return QString();
}

QJsonObject readFormatDocument(const QString& path, QString& error)
{
    QByteArray bytes;
    if (!readWholeFile(path, maxFileBytes, bytes, error))
        return {};
    return parseFormatDocument(bytes, error);
}

QJsonObject parseFormatDocument(const QByteArray& bytes, QString& error)
{
    // The strict reading refuses what Qt's would settle silently: a key
    // given twice, where Qt keeps the last. Qt's reading then gives the
    // values, as it always has.
    if (!isStrictJson(bytes, error))
        return {};
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parse);
    if (parse.error != QJsonParseError::NoError) {
        error = QStringLiteral("it is not JSON or is cut short (%1 at byte %2)")
                    .arg(parse.errorString())
                    .arg(parse.offset);
        return {};
    }
    const QJsonObject top = document.object();
    const QJsonValue format = top.value("format");
    if (!document.isObject() || !format.isString()) {
        error = QStringLiteral("it is JSON, but not a world or creature file (no \"format\")");
        return {};
    }
    if (format.toString() != fileFormatName) {
        error = QStringLiteral("it is a \"%1\" file, not a \"%2\" file").arg(format.toString(), fileFormatName);
        return {};
    }
    const QJsonValue version = top.value("version");
    if (!version.isDouble() || version.toDouble() != std::trunc(version.toDouble()) || version.toDouble() < 1) {
        error = QStringLiteral("its \"version\" is not a whole number from 1 on");
        return {};
    }
    if (version.toDouble() > fileFormatVersion) {
        error = QStringLiteral("it was written by a newer version of this program (format version %1; this one "
                               "reads up to %2)")
                    .arg(version.toDouble())
                    .arg(fileFormatVersion);
        return {};
    }
    return top;
}

QByteArray formatDocumentBytes(QJsonObject document)
{
    document.insert("format", fileFormatName);
    document.insert("version", fileFormatVersion);
    return QJsonDocument(document).toJson();
}

bool writeFormatDocument(const QString& path, const QJsonObject& document, QString& error)
{
    return saveFile(path, formatDocumentBytes(document), error);
}

bool shapesFromDocument(const QJsonObject& document, std::size_t maxCount,
                        std::vector<std::unique_ptr<SuperFormula>>& shapes, QString& error)
{
    const QJsonValue value = document.value("creatures");
    if (!value.isArray()) {
        error = value.isUndefined() ? QStringLiteral("the field \"creatures\" is missing")
                                    : QStringLiteral("\"creatures\" is not a list");
        return false;
    }
    const QJsonArray records = value.toArray();
    if (std::size_t(records.size()) > maxCount) {
        error = QStringLiteral("it holds %1 creatures, more than the %2 this takes")
                    .arg(records.size())
                    .arg(maxCount);
        return false;
    }
    std::vector<std::unique_ptr<SuperFormula>> read;
    for (int i = 0; i < records.size(); ++i) {
        QString problem;
        read.push_back(shapeFromJson(records[i], problem));
        if (!read.back()) {
            error = QStringLiteral("creature %1: %2").arg(i + 1).arg(problem);
            return false;
        }
    }
    shapes = std::move(read);
    return true;
}

bool shapesToDocument(const std::vector<const SuperFormula*>& shapes, QJsonObject& document, QString& error)
{
    QJsonArray records;
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        const QString problem = shapeProblem(*shapes[i]);
        if (!problem.isEmpty()) {
            error = QStringLiteral("creature %1 cannot be stored: %2").arg(i + 1).arg(problem);
            return false;
        }
        records.append(shapeToJson(*shapes[i]));
    }
    document.insert("creatures", records);
    return true;
}

bool writeShapeFile(const QString& path, const SuperFormula& shape, QString& error)
{
    QJsonObject document;
    return shapesToDocument({&shape}, document, error) && writeFormatDocument(path, document, error);
}

std::unique_ptr<SuperFormula> readShapeFile(const QString& path, QString& error)
{
    const QJsonObject document = readFormatDocument(path, error);
    std::vector<std::unique_ptr<SuperFormula>> shapes;
    if (document.isEmpty() || !shapesFromDocument(document, 1, shapes, error))
        return nullptr;
    if (shapes.empty()) {
        error = QStringLiteral("it holds no creature");
        return nullptr;
    }
    return std::move(shapes.front());
}
