#pragma once

#include <QString>

class QFileDialog;
class QWidget;

// The file-open dialog behind the "..." button of the workbook path.

// Title, filters and modes. A typed name of a missing file is accepted: the
// block-choosing button reports it later, with its own message.
void configureWorkbookFileDialog(QFileDialog& dialog);

// The folder the dialog opens in: the folder of the path already given (a
// path to a folder is that folder) when it exists, else the user's documents
// folder, else the home folder.
QString workbookDialogStartFolder(const QString& currentPath);

// Shows the dialog modally, starting near the current path; the chosen file's
// full path, or empty when the user cancelled.
QString askForWorkbookFile(QWidget* parent, const QString& currentPath);
