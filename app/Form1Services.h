#pragma once

#include "app/EntireRowSetting.h"
#include "app/HomePageChance.h"

#include <QString>

#include <functional>

class QWidget;

// What Form1 takes from the world outside the window. The program uses
// desktop(); tests put in their own folder, dialog, draw, opener and store.
struct Form1Services {
    // The folder searched for the custom pointer file HAND-M.CUR.
    QString programFolder;
    // The workbook file dialog: the chosen full path, or empty when cancelled.
    std::function<QString(QWidget* parent)> chooseWorkbookFile;
    ChanceDraw homePageDraw;
    UrlOpener openUrl;
    EntireRowStore entireRow;

    static Form1Services desktop();
};
