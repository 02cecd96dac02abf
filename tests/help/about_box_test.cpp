#include "help/about_box.h"
#include "help/front_panel_picture.h"
#include "ui/dialogs.h"

#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <gtest/gtest.h>

using namespace orx;

namespace {

class AboutBoxTest : public ::testing::Test
{
protected:
    AboutBoxTest() : box(&owner)
    {
        box.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&box));
    }

    QWidget* control(const char* name) const { return box.findChild<QWidget*>(QLatin1String(name)); }
    QRect place(const char* name) const
    {
        const QWidget* widget = control(name);
        return widget ? QRect(widget->mapTo(&box, QPoint(0, 0)), widget->size()) : QRect();
    }

    QWidget owner;
    AboutBox box;
};

TEST_F(AboutBoxTest, CaptionAndFixedTexts)
{
    EXPECT_EQ(box.objectName(), "frmAbout");
    EXPECT_EQ(box.windowTitle(), QStringLiteral("About ") + kProgramTitle);

    const struct
    {
        const char* name;
        QString text;
    } fixed[] = {{"lblTitle", kProgramTitle}, {"lblVersion", QStringLiteral("Version 1.0")}};
    for (const auto& f : fixed) {
        auto* label = qobject_cast<QLabel*>(control(f.name));
        ASSERT_NE(label, nullptr) << f.name;
        EXPECT_EQ(label->text(), f.text) << f.name;
    }
    // The two free texts are single lines.
    for (const char* name : {"Label1", "lblDescription"}) {
        auto* label = qobject_cast<QLabel*>(control(name));
        ASSERT_NE(label, nullptr) << name;
        EXPECT_FALSE(label->text().trimmed().isEmpty()) << name;
        EXPECT_FALSE(label->text().contains(u'\n')) << name;
        EXPECT_FALSE(label->wordWrap()) << name;
    }
    auto* ok = qobject_cast<QPushButton*>(control("cmdOK"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_TRUE(ok->isDefault());
}

TEST_F(AboutBoxTest, ControlsSitWhereTheyBelongInAFixedSizeWindow)
{
    EXPECT_EQ(box.minimumSize(), box.maximumSize());
    const QRect picture = place("Picture1");
    const QRect title = place("lblTitle");
    const QRect version = place("lblVersion");
    const QRect line1 = place("Label1");
    const QRect separator = place("Line1");
    const QRect description = place("lblDescription");
    const QRect ok = place("cmdOK");

    EXPECT_EQ(picture.size(), QSize(kFrontPanelWidth, kFrontPanelHeight));
    EXPECT_LT(picture.left(), 30);
    EXPECT_LT(picture.top(), 30);
    EXPECT_GT(title.left(), picture.right());
    EXPECT_GT(version.top(), title.bottom() - 1);
    EXPECT_GT(line1.top(), version.bottom() - 1);
    EXPECT_GT(separator.top(), picture.bottom());
    EXPECT_GT(separator.width(), box.width() * 8 / 10);
    EXPECT_GT(description.top(), separator.bottom());
    EXPECT_GT(ok.top(), separator.bottom());
    EXPECT_LT(description.right(), ok.left());
    EXPECT_GT(ok.right(), box.width() - 30);
    EXPECT_LE(box.width() - 1 - ok.right(), description.left() + 5); // symmetric margins
}

TEST_F(AboutBoxTest, SeparatorIsAGreyLineWithAWhiteLineBelow)
{
    QWidget* line = control("Line1");
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->height(), 2);
    const QImage image = line->grab().toImage();
    for (int x : {0, line->width() / 2, line->width() - 1}) {
        EXPECT_EQ(QColor(image.pixel(x, 0)), QColor(128, 128, 128)) << x;
        EXPECT_EQ(QColor(image.pixel(x, 1)), QColor(255, 255, 255)) << x;
    }
}

TEST_F(AboutBoxTest, PictureShowsTheDrawnFrontPanel)
{
    auto* picture = qobject_cast<QLabel*>(control("Picture1"));
    ASSERT_NE(picture, nullptr);
    const QImage shown = picture->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(shown.size(), QSize(kFrontPanelWidth, kFrontPanelHeight));
    EXPECT_EQ(shown, frontPanelPicture().convertToFormat(QImage::Format_ARGB32));
}

TEST(FrontPanelPicture, IsADetailedOpaqueDrawingWithLitDisplays)
{
    const QImage image = frontPanelPicture().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(200, 129));
    QSet<QRgb> colours;
    int opaque = 0;
    int litRed = 0;
    int litGreen = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            colours.insert(c.rgba());
            opaque += c.alpha() == 255;
            litRed += c.red() > 200 && c.green() < 120 && c.blue() < 120;
            litGreen += c.green() > 200 && c.red() < 150 && c.blue() < 170;
        }
    }
    // Only the corners outside the rounded case may be transparent.
    EXPECT_GT(opaque, image.width() * image.height() * 98 / 100);
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
    EXPECT_GT(colours.size(), 200);
    // The two seven-segment readings light up (voltage red, current green).
    EXPECT_GT(litRed, 150);
    EXPECT_GT(litGreen, 150);
}

} // namespace
