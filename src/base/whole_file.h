#pragma once
// Every file the program writes is written whole: the new content goes to a temporary file beside the
// target, which replaces the target only when every byte was written. A failure (no such folder, no
// permission, a full disk) leaves the old file byte-identical and no temporary file behind.

#include <QByteArray>
#include <QString>

namespace orx {

// Replaces a file atomically through QSaveFile (checking the write status before commit()). On
// failure the old file is byte-identical, no temporary file is left, and `why` says why.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* why = nullptr);

// Finds before anything else happens whether `path` could be written (not a directory, an existing
// folder that may be written in, an existing file that may be replaced) without changing anything on
// disk.
bool canWriteFile(const QString& path, QString* why = nullptr);

} // namespace orx
