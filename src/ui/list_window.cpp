#include "ui/list_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orx {
namespace {

constexpr int kColumnPadding = 16;
constexpr int kMinWidth = 480;
constexpr int kMaxWidth = 1100;
constexpr int kMargins = 48; // the layout's and the table's own

} // namespace

ListWindow::ListWindow(QWidget* owner, const QString& name, const QString& title, const QStringList& columns)
    : QWidget(owner, Qt::Window), m_summary(new QLabel(this)),
      m_table(new QTableWidget(0, int(columns.size()), this))
{
    setObjectName(name);
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose);
    m_summary->setWordWrap(true);
    m_table->setHorizontalHeaderLabels(columns);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setWordWrap(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_table, 1);
    // The selection, not the current cell: the table makes a cell current when it merely gets the focus.
    connect(m_table, &QTableWidget::itemSelectionChanged, this, [this] {
        const QList<QTableWidgetItem*> selected = m_table->selectedItems();
        if (!selected.isEmpty())
            emit rowChosen(selected.first()->row());
    });
    resize(kMinWidth, 360);
}

void ListWindow::setContents(const QString& summary, const QList<QStringList>& rows)
{
    m_summary->setText(summary);
    m_table->clearContents();
    m_table->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < m_table->columnCount(); ++c)
            m_table->setItem(r, c, new QTableWidgetItem(rows[r].value(c)));
    }
    m_table->resizeColumnsToContents();
    int width = 0;
    for (int c = 0; c < m_table->columnCount(); ++c) {
        m_table->setColumnWidth(c, m_table->columnWidth(c) + kColumnPadding);
        width += m_table->columnWidth(c);
    }
    // Before it is first shown, the window takes the width its columns ask for, within bounds.
    if (!isVisible())
        resize(qBound(kMinWidth, width + kMargins, kMaxWidth), height());
}

QString ListWindow::summary() const
{
    return m_summary->text();
}

QList<QStringList> ListWindow::rows() const
{
    QList<QStringList> rows;
    for (int r = 0; r < m_table->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < m_table->columnCount(); ++c)
            row.append(m_table->item(r, c)->text());
        rows.append(row);
    }
    return rows;
}

void ListWindow::present()
{
    show();
    raise();
    activateWindow();
}

} // namespace orx
