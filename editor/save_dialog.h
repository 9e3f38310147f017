#pragma once

#include <QString>

#include <functional>

class QWidget;

// A kind of file the user saves: the save dialog's title and filter, the
// suffix a name typed without one gets, and the verb of the messages
// ("save", "export").
struct SaveKind {
    const char* title;
    const char* filter;
    const char* suffix;
    const char* verb;
};

// The file the user names in a save dialog opened at `start`, with the
// kind's suffix added to a name typed without one (the dialog adds it, and
// so does withDefaultSuffix for a platform's dialog that does not); empty
// when the user cancels.
QString askSavePath(QWidget* parent, const SaveKind& kind, const QString& start);

// Writes a file through `save`: to `path`, or, where `ask` or `path` is
// empty, to a file the user names in a save dialog opened at `path`. A
// failed save, which leaves any old file as it was, is shown with its
// reason and the offer of Save As…, which asks for another file and tries
// again. True once a save succeeds; false when the user cancels, so that
// nothing counts as saved that is not.
bool saveOfferingSaveAs(QWidget* parent, const SaveKind& kind, const QString& path, bool ask,
                        const std::function<bool(const QString& path, QString& error)>& save);
