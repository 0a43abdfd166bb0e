#include "app/Form1Services.h"

#include "app/WorkbookFileDialog.h"

#include <QCoreApplication>
#include <QDesktopServices>

Form1Services Form1Services::desktop() {
    Form1Services services;
    services.programFolder = QCoreApplication::applicationDirPath();
    services.chooseWorkbookFile = askForWorkbookFile;
    services.homePageDraw = drawSeededByTimeOfDay;
    // Whether the browser could be started is of no concern to the start-up.
    services.openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    services.entireRow = EntireRowStore::inSettings();
    return services;
}
