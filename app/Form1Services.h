#pragma once

#include "app/EntireRowSetting.h"
#include "app/HomePageChance.h"

#include <QString>

#include <functional>
#include <memory>

namespace sheet {
class Spreadsheet;
class StopSwitch;
class Workbook;
struct Block;
} // namespace sheet

class QWidget;

// What Form1 takes from the world outside the window. The program uses
// desktop(); tests put in their own folder, dialog, draw, opener and store.
struct Form1Services {
    // The folder searched for the custom pointer file HAND-M.CUR: the
    // program's own in a build tree, its data folder once installed.
    QString programFolder;
    // The workbook file dialog, given the path already in the window: the
    // chosen full path, or empty when cancelled.
    std::function<QString(QWidget* parent, const QString& currentPath)> chooseWorkbookFile;
    ChanceDraw homePageDraw;
    UrlOpener openUrl;
    EntireRowStore entireRow;
    // The spreadsheet application each action starts a new instance of,
    // given the action's own stop switch: pulling it ends that instance at
    // once and fails the call waiting on it with sheet::Stopped.
    std::function<std::unique_ptr<sheet::Spreadsheet>(std::shared_ptr<sheet::StopSwitch> stop)>
        spreadsheet;
    // A message box with an OK button only, no icon, titled "Vantrelo".
    std::function<void(QWidget* parent, const QString& text)> showMessage;
    // What becomes of a finished run's workbook: shown, and the user's.
    // Called on the thread that opened the workbook, not the window's.
    std::function<void(sheet::Workbook& workbook, const sheet::Block& block)> finishRun;

    static Form1Services desktop();
};
