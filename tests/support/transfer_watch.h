#pragma once
// Watches a download or an upload at each moment it lets pending events run: counts those moments,
// records what the progress window shows, and lets a test act at any of them.

#include <QStringList>
#include <functional>

class QWidget;

namespace orx {
class Form2;
}

namespace orx::test {

class TransferWatch
{
public:
    // Runs `transfer`, which the main window runs, with the watch on, then takes it off.
    void run(const QWidget* mainWindow, const std::function<void()>& transfer);
    // The main window's progress window while one is open.
    Form2* progress() const;
    // Clicks the progress window's Cancel button.
    void cancel() const;

    std::function<void(int pass)> duringIt; // runs at each pass, the first being pass 0
    int passes = 0;
    QStringList texts;  // the progress window's text at each pass
    int lastMax = -1;   // its bar's maximum
    int lastValue = -1; // the bar's last value, also one set after the last pass

private:
    void watch();

    const QWidget* m_mainWindow = nullptr;
    bool m_barWatched = false;
};

} // namespace orx::test
