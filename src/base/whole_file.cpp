#include "base/whole_file.h"

#include "base/dialogs.h"

#include <QFileInfo>
#include <QSaveFile>

namespace orx {
namespace {

void setWhy(QString* why, const QString& text)
{
    if (why)
        *why = text;
}

} // namespace

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* why)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        setWhy(why, file.errorString());
        return false;
    }
    // Flushed here, not left to commit(): a failed last flush inside commit() goes unnoticed, and the
    // cut-short file would replace the old one.
    if (file.write(bytes) != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        setWhy(why, file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        setWhy(why, file.errorString());
        return false;
    }
    return true;
}

bool canWriteFile(const QString& path, QString* why)
{
    if (path.isEmpty()) {
        setWhy(why, QStringLiteral("No file name was given."));
        return false;
    }
    const QFileInfo file(path);
    if (file.isDir()) {
        setWhy(why, QStringLiteral("%1 is a folder.").arg(path));
        return false;
    }
    // The new file is written beside the old one and then takes its place, so the folder must
    // accept new files.
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir()) {
        setWhy(why, QStringLiteral("The folder %1 does not exist.").arg(folder.filePath()));
        return false;
    }
    if (!folder.isWritable() || !folder.isExecutable()) {
        setWhy(why, QStringLiteral("The folder %1 cannot be written to.").arg(folder.filePath()));
        return false;
    }
    if (file.exists() && !file.isWritable()) {
        setWhy(why, QStringLiteral("%1 is read-only.").arg(path));
        return false;
    }
    return true;
}

bool saveChosenFile(Dialogs& dialogs, const QString& path, const QByteArray& bytes)
{
    if (writeFileAtomically(path, bytes))
        return true;
    dialogs.messageBox(kCannotSaveFile, QStringLiteral("Warning"));
    return false;
}

} // namespace orx
