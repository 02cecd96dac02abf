#pragma once
// The small progress window of the connect, the download and the upload: a caption, one line of
// text (`dispini`) and a progress bar (`PBar1`). Each operation makes its own, shows it without
// blocking the main window and deletes it at the end. The transfers also give it a Cancel button.

#include <QDialog>

class QLabel;
class QProgressBar;

namespace orx {

class Form2 : public QDialog
{
    Q_OBJECT
public:
    explicit Form2(QWidget* mainWindow);

    void setText(const QString& text); // `dispini`
    QString text() const;
    void setMax(int max);     // `PBar1.Max`
    void setValue(int value); // `PBar1.Value`
    int max() const;
    int value() const;

    // Adds the Cancel button. From then on Cancel, closing the window and Escape ask the operation to
    // stop; the operation looks at cancelRequested() between its steps.
    void allowCancel();
    bool cancelRequested() const { return m_cancelRequested; }

public slots:
    void reject() override;

private:
    QLabel* m_dispini;
    QProgressBar* m_bar;
    bool m_cancellable = false;
    bool m_cancelRequested = false;
};

} // namespace orx
