#include "trend/trend_window.h"

#include "base/dialogs.h"
#include "base/whole_file.h"
#include "link/clock.h"
#include "panel/monitoring_loop.h"
#include "trend/trend_chart.h"
#include "trend/trend_export.h"
#include "trend/trend_readouts.h"
#include "ui/option_group.h"
#include "ui/push_button.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace orx {

TrendWindow::TrendWindow(QWidget* owner, TrendSources sources, Dialogs& dialogs)
    : QWidget(owner, Qt::Window), m_sources(std::move(sources)), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("TrendWindow"));
    setWindowTitle(QStringLiteral("Trend"));
    setupUi();
    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(0);
    connect(&m_refreshTimer, &QTimer::timeout, this, [this] { refresh(); });
    m_settleTimer.setSingleShot(true);
    m_settleTimer.setInterval(0);
    connect(&m_settleTimer, &QTimer::timeout, this, [this] {
        m_recorder.settleOutputOff(m_sources.clock.wallMilliseconds());
        updateLogControls();
    });
    m_recorder.resetEnergy(m_sources.clock.wallMilliseconds());
    connectSources();
    updateLogControls();
    refresh();
}

void TrendWindow::setupUi()
{
    m_span = new QComboBox(this);
    m_span->setObjectName(QStringLiteral("span"));
    for (const TrendSpanChoice& choice : kTrendSpans)
        m_span->addItem(QString::fromLatin1(choice.caption));
    m_span->setCurrentIndex(kDefaultTrendSpan);
    m_logToFile = namedButton(QStringLiteral("logToFile"), QStringLiteral("&Log to file..."), this);
    m_logToFile->setToolTip(QStringLiteral("Writes every tick to a CSV file while the output is on"));
    m_stopLog = namedButton(QStringLiteral("stopLog"), QStringLiteral("&Stop log"), this);
    m_logStatus = new QLabel(this);
    m_logStatus->setObjectName(QStringLiteral("logStatus"));
    m_logStatus->setWordWrap(true);
    m_logStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_chart = new TrendChart(this);
    m_chart->setObjectName(QStringLiteral("chart"));
    m_power = new QCheckBox(QStringLiteral("&Power"), this);
    m_power->setObjectName(QStringLiteral("power"));
    m_power->setToolTip(QStringLiteral("Shows the power, voltage times current, as a third line"));
    m_scroll = new QScrollBar(Qt::Horizontal, this);
    m_scroll->setObjectName(QStringLiteral("scroll"));
    m_statistics = new TrendStatisticsBox(this);
    m_energy = new TrendEnergyBox(this);

    auto* bar = new QHBoxLayout;
    auto* show = new QLabel(QStringLiteral("S&how:"), this);
    show->setBuddy(m_span);
    bar->addWidget(show);
    bar->addWidget(m_span);
    bar->addWidget(m_power);
    bar->addStretch(1);
    bar->addWidget(exportButton());
    bar->addWidget(m_logToFile);
    bar->addWidget(m_stopLog);
    auto* readouts = new QHBoxLayout;
    readouts->addWidget(m_statistics, 1);
    readouts->addWidget(m_energy, 1);
    auto* page = new QVBoxLayout(this);
    page->addLayout(bar);
    page->addWidget(m_chart, 1);
    page->addWidget(m_scroll);
    page->addLayout(readouts);
    page->addWidget(m_logStatus);
    resize(900, 680);

    connect(m_span, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
    connect(m_power, &QCheckBox::toggled, this, [this](bool on) {
        m_chart->setPowerShown(on);
        refresh();
    });
    connect(m_scroll, &QScrollBar::valueChanged, this, [this](int value) { scrolled(value); });
    connect(m_energy->resetButton(), &QPushButton::clicked, this, [this] { resetEnergy(); });
    connect(m_logToFile, &QPushButton::clicked, this, [this] { logToFile(); });
    connect(m_stopLog, &QPushButton::clicked, this, [this] { stopLog(); });
}

QPushButton* TrendWindow::exportButton()
{
    auto* button = namedButton(QStringLiteral("export"), QStringLiteral("E&xport"), this);
    auto* menu = new QMenu(button);
    const auto item = [&](const char* name, const QString& caption, auto bytes, const char* filter) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this,
                [this, bytes, filter] { exportFile(QLatin1String(filter), bytes); });
    };
    item(
        "exportPng", QStringLiteral("Chart as &picture (PNG)..."), [this] { return chartPng(*m_chart); },
        "PNG File(*.png)|*.png|All File(*.*)|*.*");
    item(
        "exportSvg", QStringLiteral("Chart as &drawing (SVG)..."),
        [this] { return chartSvg(*m_chart, QStringLiteral("ORX Panel trend")); },
        "SVG File(*.svg)|*.svg|All File(*.*)|*.*");
    item(
        "exportCsv", QStringLiteral("&Readings in view (CSV)..."),
        [this] {
            const TrendLogStart about{m_sources.identity(), m_sources.interfaceName(), 0, 0};
            return trendReadingsText(m_recorder.buffer().points(), m_chart->timeAxis(), about).toUtf8();
        },
        "CSV File(*.csv)|*.csv|All File(*.*)|*.*");
    button->setMenu(menu);
    return button;
}

// What is shown when the file has been chosen goes into it, whole or not at all.
void TrendWindow::exportFile(const QString& filter, const std::function<QByteArray()>& bytes)
{
    const QString path = m_dialogs.saveFileName(filter);
    if (path.isEmpty())
        return;
    refresh();
    saveChosenFile(m_dialogs, path, bytes());
}

void TrendWindow::connectSources()
{
    connect(&m_sources.monitoring, &MonitoringLoop::ticked, this,
            [this](const TickReadings& readings) { tick(readings); });
    connect(&m_sources.output, &OptionGroup::clicked, this, [this](int index) { outputClicked(index); });
}

void TrendWindow::tick(const TickReadings& readings)
{
    const bool wasLogging = m_recorder.logging();
    m_recorder.tick(m_sources.clock.wallMilliseconds(), m_sources.clock.nanoseconds() / 1'000'000, readings);
    if (wasLogging != m_recorder.logging())
        updateLogControls();
    scheduleRefresh();
}

// A tick that finds a trip switches the output off before it reports what it read, so the log is
// stopped once the event that switched it off has run its course, after that tick's line.
void TrendWindow::outputClicked(int index)
{
    if (index != kOn) {
        m_recorder.outputWentOff();
        m_settleTimer.start();
    } else {
        m_recorder.settleOutputOff(m_sources.clock.wallMilliseconds()); // off, then on again at once
    }
    updateLogControls();
}

void TrendWindow::logToFile()
{
    const QString path = m_dialogs.saveFileName(QStringLiteral("CSV File(*.csv)|*.csv|All File(*.*)|*.*"));
    if (path.isEmpty())
        return;
    // The output may have gone off while the dialog was open.
    if (!m_sources.output.isSelected(kOn)) {
        m_dialogs.messageBox(QStringLiteral("The output is off. The log runs only while the output is on."));
        return;
    }
    const qint64 now = m_sources.clock.wallMilliseconds();
    const TrendLogStart start{m_sources.identity(), m_sources.interfaceName(), now,
                              localUtcOffsetSeconds(now)};
    if (!m_recorder.startLog(path, start, nullptr))
        m_dialogs.messageBox(kCannotSaveFile, QStringLiteral("Warning"));
    updateLogControls();
}

void TrendWindow::stopLog()
{
    m_recorder.stopLog(m_sources.clock.wallMilliseconds());
    updateLogControls();
}

void TrendWindow::updateLogControls()
{
    m_logToFile->setEnabled(m_sources.output.isSelected(kOn));
    m_stopLog->setEnabled(m_recorder.logging());
    m_logStatus->setText(trendLogStatusText(m_recorder.logStatus()));
    const bool failed = m_recorder.logStatus().state == TrendLogStatus::State::WriteFailed;
    m_logStatus->setStyleSheet(failed ? QStringLiteral("color: #b00000;") : QString());
}

void TrendWindow::scheduleRefresh()
{
    if (isVisible() && !m_refreshTimer.isActive())
        m_refreshTimer.start();
}

void TrendWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    refresh(); // a hidden window does not follow the ticks
}

void TrendWindow::resetEnergy()
{
    m_recorder.resetEnergy(m_sources.clock.wallMilliseconds());
    refresh();
}

const TrendSpanChoice& TrendWindow::spanChoice() const
{
    return kTrendSpans[size_t(std::clamp(m_span->currentIndex(), 0, int(kTrendSpans.size()) - 1))];
}

qint64 TrendWindow::spanMs() const
{
    return qint64(spanChoice().minutes) * 60'000;
}

// The bar's value counts whole seconds from the earliest end the view may have; at its maximum the view
// follows the newest tick.
void TrendWindow::scrolled(int value)
{
    const TimeSpan ends = scrollEnds(m_recorder.buffer(), spanMs(), m_sources.clock.wallMilliseconds());
    if (value >= m_scroll->maximum())
        m_scrolledEndMs.reset();
    else
        m_scrolledEndMs = ends.fromMs + qint64(value) * 1000;
    refresh();
}

void TrendWindow::updateScrollBar(TimeSpan ends, qint64 shownEndMs)
{
    const QSignalBlocker quiet(m_scroll);
    m_scroll->setRange(0, int((ends.toMs - ends.fromMs) / 1000));
    m_scroll->setPageStep(int(spanMs() / 1000));
    m_scroll->setSingleStep(int(spanMs() / 10'000));
    m_scroll->setValue(m_scrolledEndMs ? int((shownEndMs - ends.fromMs) / 1000) : m_scroll->maximum());
    m_scroll->setEnabled(m_scroll->maximum() > 0);
}

void TrendWindow::refresh()
{
    m_refreshTimer.stop();
    const TrendBuffer& buffer = m_recorder.buffer();
    const qint64 now = m_sources.clock.wallMilliseconds();
    const TimeSpan times = shownTimes(buffer, spanMs(), now, m_scrolledEndMs);
    m_chart->showBuffer(buffer, times, spanChoice().timeLabels);
    m_statistics->showStatistics(buffer.points(), times);
    m_energy->showTotals(m_recorder.energy(), m_recorder.energySinceMs());
    updateScrollBar(scrollEnds(buffer, spanMs(), now), times.toMs);
    m_logStatus->setText(trendLogStatusText(m_recorder.logStatus()));
}

} // namespace orx
