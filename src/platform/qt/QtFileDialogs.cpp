#include "platform/qt/QtFileDialogs.h"

#include <QApplication>
#include <QFileDialog>

namespace {

// Shows the dialog with the first filter preselected; the chosen path, or ""
// when the user cancelled.
QString run(QFileDialog& dialog, const QStringList& filters, const QString& startFolder)
{
    if (!startFolder.isEmpty())
        dialog.setDirectory(startFolder);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty())
        dialog.selectNameFilter(filters.first());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

} // namespace

QString QtFileDialogs::openFile(const QString& title, const QStringList& filters, const QString& startFolder)
{
    QFileDialog dialog(QApplication::activeWindow(), title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return run(dialog, filters, startFolder);
}

QString QtFileDialogs::saveFile(const QString& title, const QStringList& filters, const QString& defaultSuffix,
                                const QString& startFolder)
{
    QFileDialog dialog(QApplication::activeWindow(), title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    // The caller asks before replacing a file, once it has settled the name
    // (extension included) that is really written.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    return run(dialog, filters, startFolder);
}
