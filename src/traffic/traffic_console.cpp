#include "traffic/traffic_console.h"

#include "base/dialogs.h"
#include "base/whole_file.h"
#include "link/command_link.h"
#include "ui/push_button.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

namespace orx {
namespace {

QString asText(const QStringList& lines)
{
    return lines.isEmpty() ? QString() : lines.join(u'\n') + u'\n';
}

} // namespace

TrafficConsole::TrafficConsole(QWidget* owner, CommandLink& link, Dialogs& dialogs)
    : QWidget(owner, Qt::Window), m_link(link), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("TrafficConsole"));
    setWindowTitle(QStringLiteral("Traffic"));
    setupUi();
    connectControls();
    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(kRefreshMs);
    connect(&m_refreshTimer, &QTimer::timeout, this, [this] { refresh(); });
    m_log.setAppendHandler([this] {
        if (!m_refreshTimer.isActive())
            m_refreshTimer.start();
    });
    m_link.addObserver(&m_log);
}

TrafficConsole::~TrafficConsole()
{
    m_link.removeObserver(&m_log);
}

void TrafficConsole::setupUi()
{
    m_pause = namedButton(QStringLiteral("pause"), QStringLiteral("&Pause"), this);
    m_pause->setCheckable(true);
    m_clear = namedButton(QStringLiteral("clear"), QStringLiteral("C&lear"), this);
    m_copy = namedButton(QStringLiteral("copy"), QStringLiteral("&Copy"), this);
    m_copy->setToolTip(
        QStringLiteral("Copies the selected lines, or every line shown when none is selected"));
    m_save = namedButton(QStringLiteral("save"), QStringLiteral("&Save..."), this);
    m_save->setToolTip(QStringLiteral("Saves every line shown to a text file"));
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("filter"));
    m_filter->setPlaceholderText(QStringLiteral("Filter"));
    m_filter->setClearButtonEnabled(true);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("count"));
    m_view = new QListView(this);
    m_view->setObjectName(QStringLiteral("lines"));
    m_view->setModel(&m_model);
    m_view->setUniformItemSizes(true);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    auto* bar = new QHBoxLayout;
    for (QPushButton* b : {m_pause, m_clear, m_copy, m_save})
        bar->addWidget(b);
    bar->addSpacing(12);
    bar->addWidget(new QLabel(QStringLiteral("Filter:"), this));
    bar->addWidget(m_filter, 1);
    bar->addSpacing(12);
    bar->addWidget(m_count);
    auto* page = new QVBoxLayout(this);
    page->addLayout(bar);
    page->addWidget(m_view, 1);
    resize(900, 480);
    updateCount();
}

void TrafficConsole::connectControls()
{
    connect(m_pause, &QPushButton::toggled, this, [this](bool paused) {
        m_model.setPaused(paused);
        updateCount();
    });
    connect(m_clear, &QPushButton::clicked, this, [this] {
        m_log.clear();
        refresh();
    });
    connect(m_filter, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_model.setFilter(text);
        updateCount();
    });
    connect(m_copy, &QPushButton::clicked, this, [this] { copyLines(); });
    connect(m_save, &QPushButton::clicked, this, [this] { saveLines(); });
}

void TrafficConsole::refresh()
{
    m_refreshTimer.stop();
    QScrollBar* scroll = m_view->verticalScrollBar();
    const bool following = scroll->value() == scroll->maximum();
    m_model.sync();
    if (following && !m_model.paused())
        m_view->scrollToBottom();
    updateCount();
}

void TrafficConsole::updateCount()
{
    QString text = m_filter->text().isEmpty()
                       ? QStringLiteral("%1 lines").arg(m_model.rowCount())
                       : QStringLiteral("%1 of %2 lines").arg(m_model.rowCount()).arg(m_log.size());
    if (m_model.paused())
        text += QStringLiteral(" (paused)");
    m_count->setText(text);
}

QStringList TrafficConsole::selectedOrShownLines() const
{
    QModelIndexList selected = m_view->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return m_model.lines();
    std::sort(selected.begin(), selected.end());
    QStringList out;
    for (const QModelIndex& index : selected)
        out.append(m_model.line(index.row()));
    return out;
}

void TrafficConsole::copyLines()
{
    refresh(); // what arrived since the last refresh counts as shown
    QGuiApplication::clipboard()->setText(asText(selectedOrShownLines()));
}

void TrafficConsole::saveLines()
{
    const QString path = m_dialogs.saveFileName(QStringLiteral("Text File(*.txt)|*.txt|All File(*,*)|*.*"));
    if (path.isEmpty())
        return;
    refresh();
    saveChosenFile(m_dialogs, path, asText(m_model.lines()).toUtf8());
}

} // namespace orx
