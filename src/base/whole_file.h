#pragma once
// Every file the program writes is written whole: the new content goes to a temporary file beside the
// target, which replaces the target only when every byte was written. A failure (no such folder, no
// permission, a full disk) leaves the old file byte-identical and no temporary file behind.

#include <QByteArray>
#include <QString>

namespace orx {

class Dialogs;

// What the "Warning" box says when a file the operator chose cannot be written.
inline const QString kCannotSaveFile = QStringLiteral("Can not save this file. Please try the other file.");

// Replaces a file atomically through QSaveFile (checking the write status before commit()). On
// failure the old file is byte-identical, no temporary file is left, and `why` says why.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* why = nullptr);

// Finds before anything else happens whether `path` could be written (not a directory, an existing
// folder that may be written in, an existing file that may be replaced) without changing anything on
// disk.
bool canWriteFile(const QString& path, QString* why = nullptr);

// Writes a file the operator chose, whole; when it cannot, the "Warning" box says so and the old file
// stays as it was.
bool saveChosenFile(Dialogs& dialogs, const QString& path, const QByteArray& bytes);

} // namespace orx
