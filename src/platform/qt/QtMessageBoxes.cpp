#include "platform/qt/QtMessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

void QtMessageBoxes::error(const QString& text, const QString& title)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

bool QtMessageBoxes::confirm(const QString& text, const QString& title)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.button(QMessageBox::Yes)->setText("はい");
    box.button(QMessageBox::No)->setText("いいえ");
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

SaveChoice QtMessageBoxes::askToSave(const QString& text, const QString& title)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, QApplication::activeWindow());
    QPushButton* save = box.addButton("保存", QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton("破棄", QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton("ｷｬﾝｾﾙ", QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save)
        return SaveChoice::Save;
    return box.clickedButton() == discard ? SaveChoice::Discard : SaveChoice::Cancel;
}

int QtMessageBoxes::choose(const QString& text, const QString& title, const QStringList& answers)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, QApplication::activeWindow());
    QList<QPushButton*> buttons;
    for (const QString& answer : answers)
        buttons << box.addButton(answer, QMessageBox::AcceptRole);
    if (!buttons.isEmpty())
        box.setDefaultButton(buttons.first());
    // Escape closes the box without choosing any of the answers.
    QPushButton* none = box.addButton(QMessageBox::Cancel);
    none->hide();
    box.setEscapeButton(none);
    box.exec();
    return static_cast<int>(buttons.indexOf(qobject_cast<QPushButton*>(box.clickedButton())));
}
