#include "app/WorkbookFileDialog.h"

#include <QDir>
#include <QFileDialog>

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

QString askForWorkbookFile(QWidget* parent) {
    QFileDialog dialog(parent);
    configureWorkbookFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QDir::toNativeSeparators(
        QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath());
}
