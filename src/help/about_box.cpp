#include "help/about_box.h"

#include "base/dialogs.h"
#include "help/front_panel_picture.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace orx {

namespace {

// An etched horizontal separator: a grey line with a white line just below it.
class EtchedLine : public QWidget
{
public:
    explicit EtchedLine(QWidget* parent) : QWidget(parent)
    {
        setFixedHeight(2);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(0, 0, width(), 1, QColor(128, 128, 128));
        painter.fillRect(0, 1, width(), 1, QColor(255, 255, 255));
    }
};

QLabel* addLabel(QWidget* parent, const char* name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QLabel* makePicture(QWidget* parent)
{
    QLabel* picture = addLabel(parent, "Picture1", QString());
    picture->setPixmap(QPixmap::fromImage(frontPanelPicture()));
    picture->setFixedSize(kFrontPanelWidth, kFrontPanelHeight);
    return picture;
}

QLabel* makeTitle(QWidget* parent)
{
    QLabel* title = addLabel(parent, "lblTitle", kProgramTitle);
    QFont font = title->font();
    font.setPointSizeF(font.pointSizeF() * 1.8);
    font.setBold(true);
    title->setFont(font);
    return title;
}

} // namespace

AboutBox::AboutBox(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ") + kProgramTitle);
    setModal(false);
    setupUi();
}

void AboutBox::setupUi()
{
    auto* text = new QVBoxLayout;
    text->setSpacing(6);
    text->addWidget(makeTitle(this));
    text->addWidget(addLabel(this, "lblVersion", QStringLiteral("Version " ORX_VERSION)));
    text->addSpacing(10);
    text->addWidget(addLabel(this, "Label1",
                             QStringLiteral("Control panel for the ORX programmable DC power supplies.")));
    text->addStretch(1);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    ok->setMinimumWidth(90);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(
        addLabel(this, "lblDescription",
                 QStringLiteral("For the ORX-A100, ORX-B200 and ORX-C300, over RS-232 or GPIB.")));
    bottom->addStretch(1);
    bottom->addWidget(ok);

    auto* line = new EtchedLine(this);
    line->setObjectName(QStringLiteral("Line1"));

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(18);
    grid->setVerticalSpacing(14);
    grid->addWidget(makePicture(this), 0, 0, Qt::AlignLeft | Qt::AlignTop);
    grid->addLayout(text, 0, 1);
    grid->addWidget(line, 1, 0, 1, 2);
    grid->addLayout(bottom, 2, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    ok->setFocus();
}

} // namespace orx
