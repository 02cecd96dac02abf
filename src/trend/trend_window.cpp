#include "trend/trend_window.h"

#include "base/dialogs.h"
#include "link/clock.h"
#include "panel/monitoring_loop.h"
#include "trend/trend_chart.h"
#include "ui/option_group.h"
#include "ui/push_button.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
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

    auto* bar = new QHBoxLayout;
    auto* show = new QLabel(QStringLiteral("S&how:"), this);
    show->setBuddy(m_span);
    bar->addWidget(show);
    bar->addWidget(m_span);
    bar->addStretch(1);
    bar->addWidget(m_logToFile);
    bar->addWidget(m_stopLog);
    auto* page = new QVBoxLayout(this);
    page->addLayout(bar);
    page->addWidget(m_chart, 1);
    page->addWidget(m_logStatus);
    resize(860, 520);

    connect(m_span, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
    connect(m_logToFile, &QPushButton::clicked, this, [this] { logToFile(); });
    connect(m_stopLog, &QPushButton::clicked, this, [this] { stopLog(); });
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
    m_recorder.tick(m_sources.clock.wallMilliseconds(), readings);
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
        m_dialogs.messageBox(QStringLiteral("Can not save this file. Please try the other file."),
                             QStringLiteral("Warning"));
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

void TrendWindow::refresh()
{
    m_refreshTimer.stop();
    const TrendBuffer& buffer = m_recorder.buffer();
    const TrendSpanChoice& span =
        kTrendSpans[size_t(std::clamp(m_span->currentIndex(), 0, int(kTrendSpans.size()) - 1))];
    const qint64 spanMs = qint64(span.minutes) * 60'000;
    m_chart->showBuffer(buffer, shownTimes(buffer, spanMs, m_sources.clock.wallMilliseconds()),
                        span.timeLabels);
    m_logStatus->setText(trendLogStatusText(m_recorder.logStatus()));
}

} // namespace orx
