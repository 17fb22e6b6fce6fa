#include "platform/qt/QtMessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

void QtMessageBoxes::error(const QString& text, const QString& title)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

bool QtMessageBoxes::confirm(const QString& text, const QString& title)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
