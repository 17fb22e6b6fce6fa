#include "platform/qt/QtColorDialog.h"

#include <QApplication>
#include <QColorDialog>

std::optional<QRgb> QtColorDialog::chooseColor(QRgb initial)
{
    QColorDialog dialog(QColor::fromRgb(initial), QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor().rgb();
}
