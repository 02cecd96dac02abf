#pragma once
// The trend window: the voltage and current (and, when asked for, the power) of every monitoring tick
// plotted against time, over a minute, ten minutes or an hour that follows the newest tick or is
// scrolled back, with markers where a trip or a time-out happened, a cursor on the tick under the
// pointer, the minimum, maximum and mean over the span in view, the charge and energy delivered while
// the output was on, exports of the chart (PNG, SVG) and of the readings in view (CSV), and a CSV log
// of the ticks. It only watches: its points are the readings each tick already made, and it never
// sends anything. It watches from its creation to its end; closing the window only hides it, and the
// points, the totals and the log go on meanwhile. The chart and the readouts catch up after each tick
// rather than within it.

#include "trend/trend_recorder.h"

#include <QTimer>
#include <QWidget>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QScrollBar;

namespace orx {

class Clock;
class Dialogs;
class MonitoringLoop;
class OptionGroup;
class TrendChart;
class TrendEnergyBox;
class TrendStatisticsBox;

// What the window watches and where its log header comes from.
struct TrendSources
{
    MonitoringLoop& monitoring;
    OptionGroup& output; // the main window's output switch: 0 "OFF", 1 "ON"
    const Clock& clock;
    std::function<QString()> identity;      // the connected instrument's identity answer
    std::function<QString()> interfaceName; // "COM2 9600" or "GPIB 8"
};

class TrendWindow : public QWidget
{
    Q_OBJECT
public:
    TrendWindow(QWidget* owner, TrendSources sources, Dialogs& dialogs);

    // Brings the chart and the log's line up to date now instead of after the current event.
    void refresh();
    const TrendRecorder& recorder() const { return m_recorder; }
    const TrendChart& chart() const { return *m_chart; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setupUi();
    void connectSources();
    void tick(const TickReadings& readings);
    void outputClicked(int index);
    void logToFile();
    void stopLog();
    void updateLogControls();
    void scheduleRefresh();
    const TrendSpanChoice& spanChoice() const;
    qint64 spanMs() const;
    void scrolled(int value);
    void updateScrollBar(TimeSpan ends, qint64 shownEndMs);
    void resetEnergy();
    void exportFile(const QString& filter, const std::function<QByteArray()>& bytes);
    QPushButton* exportButton();

    TrendSources m_sources;
    Dialogs& m_dialogs;
    TrendRecorder m_recorder;
    QTimer m_refreshTimer;
    QTimer m_settleTimer;
    QComboBox* m_span = nullptr;
    QPushButton* m_logToFile = nullptr;
    QPushButton* m_stopLog = nullptr;
    QLabel* m_logStatus = nullptr;
    TrendChart* m_chart = nullptr;
    QCheckBox* m_power = nullptr;
    QScrollBar* m_scroll = nullptr;
    TrendStatisticsBox* m_statistics = nullptr;
    TrendEnergyBox* m_energy = nullptr;
    std::optional<qint64> m_scrolledEndMs; // where the view ends when scrolled back; else the newest tick
};

} // namespace orx
