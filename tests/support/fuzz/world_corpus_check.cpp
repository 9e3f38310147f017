// Reads every file of the given corpus directories as a world and as a
// creature file, built with sanitizers by the test suite. Files named
// "valid-*" must be accepted and "broken-*" refused; whatever is accepted
// must save and read back unchanged (requireRoundTrip aborts otherwise).
#include "world_invariants.h"

#include <QDir>
#include <QFile>

#include <cstdio>

int main(int argc, char** argv)
{
    int files = 0;
    int failures = 0;
    for (int i = 1; i < argc; ++i) {
        for (const QFileInfo& entry : QDir(QString::fromLocal8Bit(argv[i])).entryInfoList(QDir::Files)) {
            QFile file(entry.filePath());
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const bool accepted = requireRoundTrip(file.readAll());
            ++files;
            const QString name = entry.fileName();
            if ((name.startsWith("valid-") && !accepted) || (name.startsWith("broken-") && accepted)) {
                std::fprintf(stderr, "%s: accepted is %d\n", qPrintable(name), int(accepted));
                ++failures;
            }
        }
    }
    std::printf("%d files read, %d unexpected\n", files, failures);
    return files > 0 && failures == 0 ? 0 : 1;
}
