#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <memory>
#include <vector>

class SuperFormula;

// The file format of worlds and single creatures: a JSON object
//
//   {"format": "superformula-world", "version": 2, "creatures": [...], ...}
//
// "creatures" holds one record per shape (see shapeToJson). A world file
// adds the world's own settings (world/world_file.h); a creature file is the
// same with exactly one record and no settings. Readers ignore fields they
// do not know, refuse other formats and newer versions, and report every
// problem as a sentence for the user, touching nothing. Version 2 added the
// lineage of a world's creatures (world/world_document.h); version 1 files
// are still read.

extern const QString fileFormatName;
constexpr int fileFormatVersion = 2;
// Files are refused unread beyond this size. A record takes under 1 KiB, so
// this leaves room for many times the largest population the world takes.
constexpr qint64 maxFileBytes = 16 * 1024 * 1024;

// Every number a shape holds, except its GL state (display list and fit
// scale): "a", "b", "m", "n1", "n2", "n3", "samples", "angle", "rotspeed",
// "colours" (three arrays of red, green, blue, alpha), "border", "eye",
// "speed", "wander", "heading" and "position" ([x, y]), "blinkTime" and
// "eyeClosed". Doubles are written so that they read back bit for bit; Qt
// drops the sign of a zero, so negative zero is written as the string "-0".
QJsonObject shapeToJson(const SuperFormula& shape);
// The shape a record describes, or null with `error` set when a field is
// missing or of the wrong type, or shapeProblem finds fault with it.
std::unique_ptr<SuperFormula> shapeFromJson(const QJsonValue& record, QString& error);

// What stops a shape from being stored, or an empty string: a number that
// is not finite or lies outside its field's range (shape/creature_bounds.h;
// the angle may be any finite number, the heading's length is what counts).
// The program keeps every shape it holds within the ranges, so that it can
// always be saved, and the reader refuses what it would not keep.
QString shapeProblem(const SuperFormula& shape);

// The file's top-level object once the file has proved a regular file
// within the size cap (readWholeFile) and parseFormatDocument accepts it;
// otherwise an empty object and `error`.
QJsonObject readFormatDocument(const QString& path, QString& error);
// The document's top-level object once it has parsed as JSON and named this
// format in a version up to ours; otherwise an empty object and `error`.
QJsonObject parseFormatDocument(const QByteArray& bytes, QString& error);
// The text of a file holding `document`, with the format's name and version
// added.
QByteArray formatDocumentBytes(QJsonObject document);
// Writes formatDocumentBytes(document) to `path` atomically (saveFile): on
// failure the previous file, if any, is left as it was.
bool writeFormatDocument(const QString& path, const QJsonObject& document, QString& error);

// The records of "creatures", at most `maxCount` of them. Returns false
// with `error` set when there are more or any record is faulty.
bool shapesFromDocument(const QJsonObject& document, std::size_t maxCount,
                        std::vector<std::unique_ptr<SuperFormula>>& shapes, QString& error);
// The "creatures" array of the given shapes; false with `error` set when
// one of them cannot be stored (see shapeProblem).
bool shapesToDocument(const std::vector<const SuperFormula*>& shapes, QJsonObject& document, QString& error);

// A creature file: the format with exactly one record.
bool writeShapeFile(const QString& path, const SuperFormula& shape, QString& error);
std::unique_ptr<SuperFormula> readShapeFile(const QString& path, QString& error);
