#include "app/qt/WorkbookFileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

void configureWorkbookFileDialog(QFileDialog& dialog) {
    dialog.setWindowTitle(QStringLiteral("Select Excel File"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The second filter lists what the office suite opens besides Excel's
    // own formats.
    dialog.setNameFilters({
        QStringLiteral("All Excel Files (*.xl*)"),
        QStringLiteral("Spreadsheets (*.ods *.fods *.ots *.sxc *.csv *.tsv *.txt *.dbf *.dif "
                       "*.slk *.wk1 *.wks *.123 *.numbers)"),
    });
    dialog.selectNameFilter(dialog.nameFilters().constFirst());
}

QString workbookDialogStartFolder(const QString& currentPath) {
    if (!currentPath.trimmed().isEmpty()) {
        const QFileInfo given(QDir::fromNativeSeparators(currentPath));
        const QFileInfo folder = given.isDir() ? given : QFileInfo(given.absolutePath());
        if (folder.isDir())
            return folder.absoluteFilePath();
    }
    // The documents folder is only a name on systems that never made it.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

QString askForWorkbookFile(QWidget* parent, const QString& currentPath) {
    QFileDialog dialog(parent);
    configureWorkbookFileDialog(dialog);
    dialog.setDirectory(workbookDialogStartFolder(currentPath));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QDir::toNativeSeparators(
        QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath());
}
