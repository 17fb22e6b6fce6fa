#include "app/frmAbout.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

TEST(frmAboutTest, EnterEscapeAndOkCloseTheBoxWhateverHasTheFocus)
{
    const std::pair<const char*, std::function<void(frmAbout&)>> cases[] = {
        {"Return on OK", [](frmAbout& b) { QTest::keyClick(b.cmdOK, Qt::Key_Return); }},
        {"keypad Enter on OK", [](frmAbout& b) { QTest::keyClick(b.cmdOK, Qt::Key_Enter, Qt::KeypadModifier); }},
        {"Return on the title label", [](frmAbout& b) { QTest::keyClick(b.lblTitle, Qt::Key_Return); }},
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

TEST(frmAboutTest, EachOpeningIsAFreshModalBoxCentredOnItsOwner)
{
    QWidget owner;
    owner.setGeometry(60, 40, 600, 420);
    owner.show();
    QPointer<frmAbout> seen;
    QTimer::singleShot(0, &owner, [&] {
        seen = owner.findChild<frmAbout*>();
        EXPECT_TRUE(seen && seen->isModal());
        if (!seen)
            return;
        EXPECT_LE((seen->frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 2);
        seen->reject();
    });
    frmAbout::showModal(&owner);
    EXPECT_TRUE(seen.isNull()) << "the box outlives its closing";
}
