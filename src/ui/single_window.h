#pragma once
// One modeless window of a kind per main window (the View menu's Traffic and Trend windows): made on
// first use, brought forward on every later use, and deleted with this holder, so a window that
// watches something goes before what it watches.

#include <QPointer>
#include <QWidget>
#include <functional>

namespace orx {

class SingleWindow
{
public:
    explicit SingleWindow(std::function<QWidget*()> create);
    ~SingleWindow();
    SingleWindow(const SingleWindow&) = delete;
    SingleWindow& operator=(const SingleWindow&) = delete;

    void show();

private:
    std::function<QWidget*()> m_create;
    QPointer<QWidget> m_window;
};

} // namespace orx
