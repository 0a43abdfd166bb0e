#pragma once

#include "app/EntireRowSetting.h"
#include "app/HomePageChance.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace sheet {
class Spreadsheet;
class StopSwitch;
class Workbook;
struct Block;
} // namespace sheet

// What Form1 takes from the world outside its controls. Each face's program
// gives the platform's own; tests give stand-ins.
struct Form1Services {
    // The folder searched for the custom pointer file HAND-M.CUR.
    std::filesystem::path programFolder;
    ChanceDraw homePageDraw;
    // Opens the home page in the browser, minimised; its failure is of no
    // concern to the start-up.
    std::function<void(const std::string& address)> openHomePage;
    SettingsStore settings;
    // The spreadsheet application each action starts a new instance of,
    // given the action's own stop switch: pulling it ends that instance at
    // once and fails the call waiting on it with sheet::Stopped.
    std::function<std::unique_ptr<sheet::Spreadsheet>(std::shared_ptr<sheet::StopSwitch> stop)>
        spreadsheet;
    // What becomes of a finished run's workbook: shown, and the user's.
    // Called on the thread that opened the workbook, not the window's.
    std::function<void(sheet::Workbook& workbook, const sheet::Block& block)> finishRun;
};

// Shows the workbook and leaves it, and its instance, to the user.
void ShowAndHandOver(sheet::Workbook& workbook, const sheet::Block& block);
