#include "app/whole_file.h"

#include <QSaveFile>

namespace orx {

bool writeWholeFile(const QString& path, const QByteArray& content)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // The write status is checked before the commit; a short or failed write never replaces the file.
    if (file.write(content) != content.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace orx
