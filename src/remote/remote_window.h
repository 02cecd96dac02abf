#pragma once
// The Remote access window (View > Remote access...): the switch that serves remote clients, the
// port, what the server is doing, the resource string for the clients, the connected clients and the
// last remarks (clients closed, lines dropped). The switch and the port are kept between runs.

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class QTableWidget;

namespace orx {

class RemoteServer;

class RemoteWindow : public QWidget
{
    Q_OBJECT
public:
    RemoteWindow(QWidget* owner, RemoteServer& server);

private:
    void setupUi();
    void apply();
    void refresh();

    RemoteServer& m_server;
    QCheckBox* m_on = nullptr;
    QSpinBox* m_port = nullptr;
    QLabel* m_state = nullptr;
    QLineEdit* m_resource = nullptr;
    QTableWidget* m_clients = nullptr;
    QPlainTextEdit* m_events = nullptr;
};

} // namespace orx
