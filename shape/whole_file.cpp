#include "shape/whole_file.h"

#include "support/atomic_file.h"
#include "support/regular_file.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace {

QString systemMessage(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString notRegular(const std::string& kind)
{
    return QStringLiteral("it is %1, not a regular file").arg(QString::fromStdString(kind));
}

// The failure in the user's words. A link is replaced where it leads, so
// the folder named is that of the file it leads to.
QString describe(const QString& path, const tex::AtomicFile::Failure& failure)
{
    using Step = tex::AtomicFile::Failure::Step;
    const QFileInfo file(path);
    const QString folder = QFileInfo(file.exists() ? file.canonicalFilePath() : file.absoluteFilePath()).absolutePath();
    switch (failure.step) {
    case Step::create:
        if (failure.error == ENOENT)
            return QStringLiteral("the folder “%1” does not exist").arg(folder);
        return QStringLiteral("the folder “%1” takes no new file (%2), and a save writes a new file there before it "
                              "replaces the old one")
            .arg(folder, systemMessage(failure.error));
    case Step::replace:
        return QStringLiteral("the new file could not replace the old one (%1)").arg(systemMessage(failure.error));
    case Step::write:
    case Step::none:
        break;
    }
    return failure.error != 0 ? systemMessage(failure.error) : QStringLiteral("writing the file failed");
}

} // namespace

bool readWholeFile(const QString& path, qint64 maxBytes, QByteArray& bytes, QString& error)
{
    std::string read;
    std::string detail;
    switch (tex::readRegularFile(QFile::encodeName(path).toStdString(), std::size_t(maxBytes), read, detail)) {
    case tex::FileReadFailure::none:
        bytes = QByteArray::fromStdString(read);
        return true;
    case tex::FileReadFailure::system:
        error = QString::fromLocal8Bit(detail.c_str());
        break;
    case tex::FileReadFailure::notRegular:
        error = notRegular(detail);
        break;
    case tex::FileReadFailure::tooLarge:
        error = QStringLiteral("it is larger than %1 MiB, more than any file this program writes")
                    .arg(maxBytes / (1024 * 1024));
        break;
    }
    return false;
}

bool saveFile(const QString& path, const QByteArray& bytes, QString& error)
{
    const std::string name = QFile::encodeName(path).toStdString();
    const std::string kind = tex::nonRegularKind(name);
    if (!kind.empty()) {
        error = notRegular(kind);
        return false;
    }
    tex::AtomicFile file(name);
    if (file.write(bytes.constData(), std::size_t(bytes.size())) && file.commit())
        return true;
    error = describe(path, file.failure());
    return false;
}

QString withDefaultSuffix(const QString& path, const QString& suffix)
{
    const QFileInfo file(path);
    if (file.fileName().isEmpty() || file.fileName().contains(QLatin1Char('.')) || file.exists())
        return path;
    return path + QLatin1Char('.') + suffix;
}
