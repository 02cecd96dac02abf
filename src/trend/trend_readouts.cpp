#include "trend/trend_readouts.h"

#include "base/numbers.h"
#include "trend/trend_statistics.h"
#include "ui/push_button.h"

#include <QDateTime>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace orx {
namespace {

constexpr std::array<TrendQuantity, 3> kQuantities{TrendQuantity::Volts, TrendQuantity::Amperes,
                                                   TrendQuantity::Watts};

QLabel* valueLabel(const QString& name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("0000.000")));
    return label;
}

} // namespace

TrendStatisticsBox::TrendStatisticsBox(QWidget* parent) : QGroupBox(QStringLiteral("Span in view"), parent)
{
    setObjectName(QStringLiteral("statistics"));
    auto* grid = new QGridLayout(this);
    const char* columns[] = {"Min", "Max", "Mean"};
    const char* rows[] = {"Voltage (V)", "Current (A)", "Power (W)"};
    const char* names[] = {"volts", "amperes", "watts"};
    for (int c = 0; c < 3; ++c)
        grid->addWidget(new QLabel(QLatin1String(columns[c]), this), 0, c + 1, Qt::AlignRight);
    for (int r = 0; r < 3; ++r) {
        grid->addWidget(new QLabel(QLatin1String(rows[r]), this), r + 1, 0);
        for (int c = 0; c < 3; ++c) {
            m_cells[size_t(r)][size_t(c)] =
                valueLabel(QLatin1String(names[r]) + QLatin1String(columns[c]), this);
            grid->addWidget(m_cells[size_t(r)][size_t(c)], r + 1, c + 1);
        }
    }
    grid->setColumnStretch(4, 1);
}

void TrendStatisticsBox::showStatistics(const std::deque<TrendPoint>& points, TimeSpan times)
{
    for (size_t q = 0; q < kQuantities.size(); ++q) {
        const std::optional<Statistics> stats = statisticsOf(points, kQuantities[q], times);
        const double values[] = {stats ? stats->min : 0, stats ? stats->max : 0, stats ? stats->mean : 0};
        for (size_t c = 0; c < 3; ++c)
            m_cells[q][c]->setText(stats ? format3(values[c]) : QStringLiteral("-"));
    }
}

TrendEnergyBox::TrendEnergyBox(QWidget* parent)
    : QGroupBox(QStringLiteral("Delivered while the output is on"), parent),
      m_charge(valueLabel(QStringLiteral("charge"), this)),
      m_energy(valueLabel(QStringLiteral("energy"), this)), m_since(new QLabel(this)),
      m_reset(namedButton(QStringLiteral("resetEnergy"), QStringLiteral("R&eset"), this))
{
    setObjectName(QStringLiteral("energyBox"));
    m_since->setObjectName(QStringLiteral("energySince"));
    m_reset->setToolTip(QStringLiteral("Starts the charge and energy again from zero"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Charge"), this), 0, 0);
    grid->addWidget(m_charge, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Ah"), this), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Energy"), this), 1, 0);
    grid->addWidget(m_energy, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Wh"), this), 1, 2);
    grid->addWidget(m_since, 2, 0, 1, 3);
    grid->addWidget(m_reset, 2, 4);
    grid->setColumnStretch(3, 1);
}

void TrendEnergyBox::showTotals(const EnergyTotals& totals, qint64 sinceMs)
{
    m_charge->setText(formatFixed(totals.ampereHours, 6));
    m_energy->setText(formatFixed(totals.wattHours, 6));
    m_since->setText(QStringLiteral("since %1")
                         .arg(QDateTime::fromMSecsSinceEpoch(sinceMs).toString(QStringLiteral("HH:mm:ss"))));
}

} // namespace orx
