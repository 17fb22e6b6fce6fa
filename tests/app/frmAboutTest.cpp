#include "app/frmAbout.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <utility>

TEST(frmAboutTest, EnterEscapeAndOkCloseTheBoxWhateverHasTheFocus)
{
    const std::pair<const char*, std::function<void(frmAbout&)>> cases[] = {
        {"Return on OK", [](frmAbout& b) { QTest::keyClick(b.cmdOK, Qt::Key_Return); }},
        {"keypad Enter on OK", [](frmAbout& b) { QTest::keyClick(b.cmdOK, Qt::Key_Enter, Qt::KeypadModifier); }},
        {"Return with no control focused",
         [](frmAbout& b) {
             b.cmdOK->clearFocus();
             QTest::keyClick(&b, Qt::Key_Return);
         }},
        {"Return on the title label", [](frmAbout& b) { QTest::keyClick(b.lblTitle, Qt::Key_Return); }},
        {"Escape on OK", [](frmAbout& b) { QTest::keyClick(b.cmdOK, Qt::Key_Escape); }},
        {"Escape on the version label", [](frmAbout& b) { QTest::keyClick(b.lblVersion, Qt::Key_Escape); }},
        {"click on OK", [](frmAbout& b) { QTest::mouseClick(b.cmdOK, Qt::LeftButton); }},
    };
    for (const auto& [name, act] : cases) {
        frmAbout box;
        box.show();
        act(box);
        EXPECT_FALSE(box.isVisible()) << name;
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
            EXPECT_TRUE(seen && seen->isModal());
            if (seen) {
                EXPECT_LE((seen->frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 2);
                shot = seen->grab().toImage();
            }
            for (QWidget* w : QApplication::topLevelWidgets()) // never leave a box open
                if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible())
                    d->reject();
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

    // Dark pixels on the top, right or bottom edge mean the text was cut off
    // (left-aligned text may start at column 0).
    for (QLabel* label : {box.lblTitle, box.lblVersion}) {
        const QImage text = label->grab().toImage();
        const int w = text.width(), h = text.height();
        bool cut = false;
        for (int x = 0; x < w; ++x)
            cut |= qGray(text.pixel(x, 0)) < 128 || qGray(text.pixel(x, h - 1)) < 128;
        for (int y = 0; y < h; ++y)
            cut |= qGray(text.pixel(w - 1, y)) < 128;
        EXPECT_FALSE(cut) << label->objectName().toStdString();
    }
}
