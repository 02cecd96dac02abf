#include "ui/single_window.h"

namespace orx {

SingleWindow::SingleWindow(std::function<QWidget*()> create) : m_create(std::move(create)) {}

SingleWindow::~SingleWindow()
{
    delete m_window.data();
}

void SingleWindow::show()
{
    if (!m_window)
        m_window = m_create();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

} // namespace orx
