#include "app/Form1Services.h"

#include "app/DataFolder.h"
#include "app/WorkbookFileDialog.h"

#include "sheet/Spreadsheet.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QMessageBox>

Form1Services Form1Services::desktop() {
    Form1Services services;
    services.programFolder =
        DataFolderHolding(QCoreApplication::applicationDirPath(), QStringLiteral("HAND-M.CUR"));
    services.chooseWorkbookFile = askForWorkbookFile;
    services.homePageDraw = drawSeededByTimeOfDay;
    // Whether the browser could be started is of no concern to the start-up.
    services.openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    services.entireRow = EntireRowStore::inSettings();
    services.spreadsheet = [](std::shared_ptr<sheet::StopSwitch> stop) {
        return sheet::MakeSpreadsheet(std::move(stop));
    };
    services.showMessage = [](QWidget* parent, const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Vantrelo"), text, QMessageBox::Ok,
                        parent);
        box.exec();
    };
    services.finishRun = [](sheet::Workbook& workbook, const sheet::Block&) {
        workbook.show();
        workbook.handOverToUser();
    };
    return services;
}
