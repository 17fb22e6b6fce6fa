#include "app/frmAbout.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

struct CloseCase {
    const char* name;
    std::function<void(frmAbout&)> act;
};

// Dark pixels on the top, right or bottom edge of a grabbed label mean its
// text ran over and was cut off (left-aligned text may start at column 0).
bool inkTouchesEdge(const QImage& img)
{
    for (int x = 0; x < img.width(); ++x)
        for (int y : {0, img.height() - 1})
            if (qGray(img.pixel(x, y)) < 128)
                return true;
    for (int y = 0; y < img.height(); ++y)
        if (qGray(img.pixel(img.width() - 1, y)) < 128)
            return true;
    return false;
}

} // namespace

TEST(frmAboutTest, EnterEscapeAndOkCloseTheBoxWhateverHasTheFocus)
{
    const CloseCase cases[] = {
        {"Return on the OK button", [](frmAbout& b) { QTest::keyClick(b.cmdOK, Qt::Key_Return); }},
        {"keypad Enter on the OK button",
         [](frmAbout& b) { QTest::keyClick(b.cmdOK, Qt::Key_Enter, Qt::KeypadModifier); }},
        {"Return with no control focused",
         [](frmAbout& b) {
             b.cmdOK->clearFocus();
             QTest::keyClick(&b, Qt::Key_Return);
         }},
        {"Return on the title label", [](frmAbout& b) { QTest::keyClick(b.lblTitle, Qt::Key_Return); }},
        {"Escape on the OK button", [](frmAbout& b) { QTest::keyClick(b.cmdOK, Qt::Key_Escape); }},
        {"Escape on the version label", [](frmAbout& b) { QTest::keyClick(b.lblVersion, Qt::Key_Escape); }},
        {"click on OK", [](frmAbout& b) { QTest::mouseClick(b.cmdOK, Qt::LeftButton); }},
    };
    for (const CloseCase& c : cases) {
        SCOPED_TRACE(c.name);
        frmAbout box;
        box.show();
        ASSERT_TRUE(box.isVisible());
        c.act(box);
        EXPECT_FALSE(box.isVisible());
    }
}

TEST(frmAboutTest, EachOpeningIsAFreshIdenticalBoxCentredOnItsOwner)
{
    QWidget owner;
    owner.setGeometry(60, 40, 600, 420);
    owner.show();

    QImage shots[2];
    for (QImage& shot : shots) {
        QPointer<frmAbout> seen;
        QTimer::singleShot(0, &owner, [&] {
            seen = owner.findChild<frmAbout*>();
            if (!seen) {
                ADD_FAILURE() << "no About box on screen";
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (auto* d = qobject_cast<QDialog*>(w))
                        d->reject();
                return;
            }
            EXPECT_TRUE(seen->isModal());
            EXPECT_LE((seen->frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 2);
            shot = seen->grab().toImage();
            QTest::keyClick(seen->cmdOK, Qt::Key_Escape);
        });
        frmAbout::showModal(&owner);
        EXPECT_TRUE(seen.isNull()) << "the box outlives its closing";
    }
    ASSERT_FALSE(shots[0].isNull());
    EXPECT_EQ(shots[0], shots[1]);
}

TEST(frmAboutTest, DrawsAnEtchedSeparatorAndUncutTexts)
{
    frmAbout box;
    box.show();
    const QImage img = box.grab().toImage();
    ASSERT_EQ(img.size(), QSize(375, 171));
    // Grey over white from pixel column 20 to 350 on rows 124 and 125.
    for (int x : {20, 185, 350}) {
        EXPECT_EQ(img.pixel(x, 124), qRgb(128, 128, 128)) << x;
        EXPECT_EQ(img.pixel(x, 125), qRgb(255, 255, 255)) << x;
    }
    EXPECT_NE(img.pixel(351, 124), qRgb(128, 128, 128));

    for (QLabel* label : {box.lblTitle, box.lblVersion}) {
        SCOPED_TRACE(label->objectName().toStdString());
        EXPECT_FALSE(inkTouchesEdge(label->grab().toImage()));
    }
}
