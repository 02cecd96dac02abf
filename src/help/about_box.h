#pragma once
// The About box (`frmAbout`): the front-panel picture, the program's title and version, a short
// line about the program, an etched separator, a one-line description and the OK button. Its
// contents are fixed; nothing in it is filled in at run time. OK, Enter and Escape close it.

#include <QDialog>

namespace orx {

class AboutBox : public QDialog
{
public:
    // The box is owned by `owner` (the main window) and stays in front of it without blocking it.
    explicit AboutBox(QWidget* owner);

private:
    void setupUi();
};

} // namespace orx
