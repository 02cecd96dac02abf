#include "remote/remote_window.h"

#include "remote/remote_preference.h"
#include "remote/remote_server.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orx {
namespace {

QString hosts(const RemoteServer& server)
{
    QStringList names;
    for (const QHostAddress& address : server.listeningAddresses())
        names.append(address.toString());
    return names.join(QStringLiteral(" and "));
}

} // namespace

RemoteWindow::RemoteWindow(QWidget* owner, RemoteServer& server)
    : QWidget(owner, Qt::Window), m_server(server)
{
    setupUi();
    const RemotePreference preference = savedRemotePreference();
    // The server may run on the command line's port for this run: the window shows what runs.
    m_on->setChecked(m_server.listening() || preference.on);
    m_port->setValue(m_server.listening() ? m_server.port() : preference.port);
    connect(m_on, &QCheckBox::toggled, this, &RemoteWindow::apply);
    connect(m_port, &QSpinBox::editingFinished, this, [this] {
        if (m_port->value() != m_server.port() || !m_server.listening())
            apply();
    });
    connect(&m_server, &RemoteServer::changed, this, &RemoteWindow::refresh);
    refresh();
}

void RemoteWindow::setupUi()
{
    setObjectName(QStringLiteral("RemoteWindow"));
    setWindowTitle(QStringLiteral("Remote access"));
    auto* about = new QLabel(QStringLiteral(
        "Test scripts on this computer reach the instrument through the panel: each line sent to this "
        "port is one command, the answer to a query comes back on the same connection, and the panel "
        "goes on monitoring and shows what the script changed."));
    about->setWordWrap(true);
    m_on = new QCheckBox(QStringLiteral("Serve remote clients on this computer (loopback only)"));
    m_on->setObjectName(QStringLiteral("remoteOn"));
    m_port = new QSpinBox;
    m_port->setObjectName(QStringLiteral("remotePort"));
    m_port->setRange(1, 65535);
    m_port->setKeyboardTracking(false);
    m_port->setMaximumWidth(m_port->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 40);
    m_state = new QLabel;
    m_state->setObjectName(QStringLiteral("remoteState"));
    m_state->setWordWrap(true);
    m_resource = new QLineEdit;
    m_resource->setObjectName(QStringLiteral("remoteResource"));
    m_resource->setReadOnly(true);
    auto* copy = new QPushButton(QStringLiteral("&Copy"));
    connect(copy, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(m_resource->text()); });
    auto* resourceRow = new QHBoxLayout;
    resourceRow->addWidget(m_resource, 1);
    resourceRow->addWidget(copy);
    m_clients = new QTableWidget(0, 3);
    m_clients->setObjectName(QStringLiteral("remoteClients"));
    m_clients->setHorizontalHeaderLabels(
        {QStringLiteral("Client"), QStringLiteral("Connected since"), QStringLiteral("Lines sent")});
    m_clients->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_clients->verticalHeader()->hide();
    m_clients->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_events = new QPlainTextEdit;
    m_events->setObjectName(QStringLiteral("remoteEvents"));
    m_events->setReadOnly(true);

    auto* form = new QFormLayout;
    form->addRow(m_on);
    form->addRow(QStringLiteral("&Port:"), m_port);
    form->addRow(QStringLiteral("State:"), m_state);
    form->addRow(QStringLiteral("Resource:"), resourceRow);
    auto* page = new QVBoxLayout(this);
    page->addWidget(about);
    page->addLayout(form);
    page->addWidget(new QLabel(QStringLiteral("Clients:")));
    page->addWidget(m_clients, 1);
    page->addWidget(new QLabel(QStringLiteral("Remarks:")));
    page->addWidget(m_events, 1);
    resize(480, 520);
}

void RemoteWindow::apply()
{
    const auto port = quint16(m_port->value());
    saveRemotePreference({m_on->isChecked(), port});
    if (m_on->isChecked())
        m_server.start(port);
    else
        m_server.stop();
}

void RemoteWindow::refresh()
{
    const quint16 port = m_server.listening() ? m_server.port() : quint16(m_port->value());
    if (!m_server.error().isEmpty())
        m_state->setText(m_server.error() + QStringLiteral(" Not serving."));
    else if (m_server.listening())
        m_state->setText(
            QStringLiteral("Serving on %1, port %2.").arg(hosts(m_server), QString::number(port)));
    else
        m_state->setText(QStringLiteral("Off."));
    m_state->setStyleSheet(m_server.error().isEmpty() ? QString() : QStringLiteral("color: #c00000;"));
    m_resource->setText(remoteResource(port));
    const QList<RemoteServer::ClientInfo> clients = m_server.clients();
    m_clients->setRowCount(int(clients.size()));
    for (int row = 0; row < clients.size(); ++row) {
        const RemoteServer::ClientInfo& client = clients[row];
        const QStringList cells = {client.name, client.since.toString(QStringLiteral("hh:mm:ss")),
                                   QString::number(client.lines)};
        for (int column = 0; column < cells.size(); ++column)
            m_clients->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    m_events->setPlainText(m_server.events().join(u'\n'));
    m_events->moveCursor(QTextCursor::End);
}

} // namespace orx
