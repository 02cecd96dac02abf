#pragma once
// The traffic console: a window that lists every exchange of the command link as it happens, with
// time-outs, failed opens and discarded input marked. It can be paused, cleared, filtered by text,
// copied and saved to a text file. It watches the link from its creation to its end; closing the
// window only hides it. The link just appends to the console's bounded log; the list catches up on a
// timer, so a burst of exchanges costs one update.

#include "traffic/traffic_log.h"
#include "traffic/traffic_model.h"

#include <QTimer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace orx {

class CommandLink;
class Dialogs;

class TrafficConsole : public QWidget
{
    Q_OBJECT
public:
    // How long the list may lag behind the link.
    static constexpr int kRefreshMs = 100;

    TrafficConsole(QWidget* owner, CommandLink& link, Dialogs& dialogs);
    ~TrafficConsole() override;

    // Brings the list up to date now instead of at the next refresh.
    void refresh();
    QStringList shownLines() const { return m_model.lines(); }

private:
    void setupUi();
    void connectControls();
    void updateCount();
    void copyLines();
    void saveLines();
    QStringList selectedOrShownLines() const;

    CommandLink& m_link;
    Dialogs& m_dialogs;
    TrafficLog m_log;
    TrafficModel m_model{m_log};
    QTimer m_refreshTimer;
    QPushButton* m_pause = nullptr;
    QPushButton* m_clear = nullptr;
    QPushButton* m_copy = nullptr;
    QPushButton* m_save = nullptr;
    QLineEdit* m_filter = nullptr;
    QLabel* m_count = nullptr;
    QListView* m_view = nullptr;
};

} // namespace orx
