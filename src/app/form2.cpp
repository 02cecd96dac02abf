#include "app/form2.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace orx {

Form2::Form2(QWidget* mainWindow) : QDialog(mainWindow)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Inquiry about ORX"));
    setModal(false);
    // The one look it borrows from the main window: its icon.
    if (mainWindow)
        setWindowIcon(mainWindow->windowIcon());
    m_dispini = new QLabel(QStringLiteral("Connectting!"), this);
    m_dispini->setObjectName(QStringLiteral("dispini"));
    m_dispini->setMinimumWidth(360);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("PBar1"));
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_dispini);
    layout->addWidget(m_bar);
    setFixedSize(sizeHint());
}

void Form2::setText(const QString& text)
{
    m_dispini->setText(text);
}

QString Form2::text() const
{
    return m_dispini->text();
}

void Form2::setMax(int max)
{
    m_bar->setMaximum(max);
}

void Form2::setValue(int value)
{
    m_bar->setValue(qBound(m_bar->minimum(), value, m_bar->maximum()));
}

int Form2::max() const
{
    return m_bar->maximum();
}

int Form2::value() const
{
    return m_bar->value();
}

} // namespace orx
