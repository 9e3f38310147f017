#pragma once

#include <QByteArray>
#include <QString>

// Whole files for the program's documents and pictures, with every failure
// said in words for the user.

// Reads the regular file at `path`, refusing one larger than `maxBytes`.
// Anything that is not a regular file (a FIFO, a device, a socket) is
// refused before a byte is read and without waiting (tex::readRegularFile):
// a FIFO would otherwise hold the program until someone writes to it.
bool readWholeFile(const QString& path, qint64 maxBytes, QByteArray& bytes, QString& error);

// Writes `bytes` to `path` whole or not at all: they go to a new file beside
// it, which replaces the old file only once complete (tex::AtomicFile), so
// a failed save leaves the old file as it was. A path that names something
// other than a regular file (a FIFO, a device) is refused unwritten, since
// writing would wait for a reader or go nowhere.
//
// On failure `error` says why, in words for the user: the folder when it
// takes no new file (the old file may well be writable: the folder is the
// problem), the system's reason when writing fails ("No space left on
// device").
bool saveFile(const QString& path, const QByteArray& bytes, QString& error);

// `path` with "." + `suffix` added where its file name has no suffix and
// names no file yet, as a name typed for a new file: "myworld" becomes
// "myworld.json", while "my.world" and an existing "myworld" stay as they
// are, so that a file opened under its own name is saved back to it.
QString withDefaultSuffix(const QString& path, const QString& suffix);
