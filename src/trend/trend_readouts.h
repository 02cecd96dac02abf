#pragma once
// The trend window's two readouts under the chart: the minimum, maximum and mean of the voltage,
// current and power over the span in view, and the charge and energy delivered while the output was
// on, with the button that resets them.

#include "trend/trend_buffer.h"
#include "trend/trend_scale.h"

#include <QGroupBox>
#include <array>

class QLabel;
class QPushButton;

namespace orx {

class TrendStatisticsBox : public QGroupBox
{
public:
    explicit TrendStatisticsBox(QWidget* parent = nullptr);
    void showStatistics(const std::deque<TrendPoint>& points, TimeSpan times);

private:
    std::array<std::array<QLabel*, 3>, 3> m_cells{}; // [quantity][min, max, mean]
};

class TrendEnergyBox : public QGroupBox
{
public:
    explicit TrendEnergyBox(QWidget* parent = nullptr);
    void showTotals(const EnergyTotals& totals, qint64 sinceMs);
    QPushButton* resetButton() const { return m_reset; }

private:
    QLabel* m_charge;
    QLabel* m_energy;
    QLabel* m_since;
    QPushButton* m_reset;
};

} // namespace orx
