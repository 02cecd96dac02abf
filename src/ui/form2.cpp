#include "ui/form2.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
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
    // The bar repaints itself at once on every new percentage; held back, it is painted with the rest
    // of the window when the operation next lets events run, one paint instead of two per step.
    m_bar->setUpdatesEnabled(false);
    m_bar->setValue(qBound(m_bar->minimum(), value, m_bar->maximum()));
    m_bar->setUpdatesEnabled(true);
}

int Form2::max() const
{
    return m_bar->maximum();
}

int Form2::value() const
{
    return m_bar->value();
}

void Form2::allowCancel()
{
    if (m_cancellable)
        return;
    m_cancellable = true;
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdcancel"));
    connect(buttons, &QDialogButtonBox::rejected, this, &Form2::reject);
    layout()->addWidget(buttons);
    setFixedSize(sizeHint());
}

// Cancel, the window's close box and Escape all end here.
void Form2::reject()
{
    if (m_cancellable)
        m_cancelRequested = true;
    QDialog::reject();
}

} // namespace orx
