#include "ui/qt_dialogs.h"

#include "ui/pending_events.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>

namespace orx {

QString qtFileFilter(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            if (pattern.trimmed() == QStringLiteral("*.*"))
                pattern = QStringLiteral("*");
        }
        entries.append(parts[i] + QStringLiteral(" (") + patterns.join(u' ') + u')');
    }
    return entries.join(QStringLiteral(";;"));
}

void QtDialogs::messageBox(const QString& text, const QString& title)
{
    QMessageBox box(QMessageBox::NoIcon, title.isEmpty() ? kProgramTitle : title, text, QMessageBox::Ok,
                    m_parent);
    if (title == QStringLiteral("Warning"))
        box.setIcon(QMessageBox::Warning);
    const OperationEvents inside;
    box.exec();
}

QString QtDialogs::inputBox(const QString& prompt, const QString& title, const QString& defaultAnswer)
{
    bool ok = false;
    const OperationEvents inside;
    const QString answer =
        QInputDialog::getText(m_parent, title, prompt, QLineEdit::Normal, defaultAnswer, &ok);
    return ok ? answer : QString();
}

QString QtDialogs::openFileName(const QString& filter)
{
    const OperationEvents inside;
    return QFileDialog::getOpenFileName(m_parent, QString(), QString(), qtFileFilter(filter));
}

QString QtDialogs::saveFileName(const QString& filter)
{
    const OperationEvents inside;
    return QFileDialog::getSaveFileName(m_parent, QString(), QString(), qtFileFilter(filter));
}

bool QtDialogs::openDocument(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace orx
