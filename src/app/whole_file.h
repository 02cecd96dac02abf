#pragma once
// Every file the program writes is written whole: the new content goes to a temporary file beside the
// target, which replaces the target only when every byte was written. A failure (no such folder, no
// permission, a full disk) leaves the old file byte-identical.

#include <QByteArray>
#include <QString>

namespace orx {

// True when `path` now holds exactly `content`.
bool writeWholeFile(const QString& path, const QByteArray& content);

} // namespace orx
