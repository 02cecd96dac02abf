#pragma once
// A modeless window that lists rows of texts under column titles, with a line of summary above them:
// the editor's check list and the comparison of a file with the instrument. Choosing a row (a click,
// or moving onto it with the keys) tells which row; the window only shows what it is given.

#include <QList>
#include <QStringList>
#include <QWidget>

class QLabel;
class QTableWidget;

namespace orx {

class ListWindow : public QWidget
{
    Q_OBJECT
public:
    // Owned by `owner` and deleted when closed.
    ListWindow(QWidget* owner, const QString& name, const QString& title, const QStringList& columns);

    void setContents(const QString& summary, const QList<QStringList>& rows);
    QString summary() const;
    QList<QStringList> rows() const;
    // Shows the window, or brings it forward when it is already shown.
    void present();

signals:
    void rowChosen(int row);

private:
    QLabel* m_summary;
    QTableWidget* m_table;
};

} // namespace orx
