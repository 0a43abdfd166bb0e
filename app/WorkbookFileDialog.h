#pragma once

#include <QString>

class QFileDialog;
class QWidget;

// The file-open dialog behind the "..." button of the workbook path.

// Title, filters and modes. A typed name of a missing file is accepted: the
// block-choosing button reports it later, with its own message.
void configureWorkbookFileDialog(QFileDialog& dialog);

// Shows the dialog modally; the chosen file's full path, or empty when the
// user cancelled.
QString askForWorkbookFile(QWidget* parent);
