#pragma once

#include "app/Form1Face.h"
#include "app/Form1Services.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// Form1's controls held as plain values, recording what the window's logic
// asked of them, with a clock that moves only while the window waits.
class FakeFace final : public Form1Face {
public:
    using Clock = std::chrono::steady_clock;

    std::map<Control, std::string> texts;
    std::map<Control, int> values;
    std::vector<std::pair<std::string, bool>> columns; // text, selected
    std::vector<std::pair<std::string, dupes::HighlightColour>> colours;
    int chosenColourIndex = -1;
    std::vector<int> progress; // every value the bar was given
    std::vector<int> pointers; // every value shown
    std::vector<std::string> messages;
    std::vector<std::string> dialogAnswers; // one per dialog; "" cancels
    std::vector<std::string> dialogPaths;   // the path in the window at each dialog
    std::vector<int> check4AtDialog;        // Check4's value while each dialog shows
    std::vector<std::string> startUp;       // the start-up's calls to the window, in order
    int closes = 0;
    // Called at every turn of a wait; a test may ask to close the window.
    std::function<void(FakeFace&)> onWait;
    // How far the clock moves at each turn of a wait.
    std::chrono::milliseconds step{100};
    // The window's clock: it moves only while the window waits. Read from
    // the action's thread too.
    Clock::time_point now() const { return Clock::time_point(std::chrono::milliseconds(elapsed_)); }

    // Asks to close the window, as the title bar's button would; only heard
    // during a wait.
    void askToClose();

    std::vector<std::string> columnTexts() const;
    std::vector<bool> selected() const;

    void setCaption(const std::string& caption) override;
    void centreOnScreen() override;
    void loadCustomPointer(const std::filesystem::path& file) override;
    void showPointer(int value) override;
    void closeSoon() override;
    std::string text(Control box) const override;
    void setText(Control box, const std::string& text) override;
    int value(Control control) const override;
    void setValue(Control control, int value) override;
    int columnCount() const override;
    bool isColumnSelected(int index) const override;
    void selectColumn(int index, bool selected) override;
    void setColumns(const std::vector<std::string>& names) override;
    void addColour(const std::string& name, dupes::HighlightColour colour) override;
    void chooseColourAt(int index) override;
    std::optional<dupes::HighlightColour> chosenColour() const override;
    void makeProgressBarWhite() override;
    void setProgress(int percent) override;
    std::string askForWorkbookFile(const std::string& currentPath) override;
    void showMessage(const std::string& title, const std::string& text) override;
    void waitWithoutInput(const std::function<bool()>& done, const std::function<void()>& tick,
                          const std::function<void()>& closeAsked) override;

private:
    std::function<void()> closeAsked_;
    std::atomic<std::int64_t> elapsed_{0}; // milliseconds
};

// A settings store in memory, counting its writes.
struct MemorySettings {
    std::map<std::string, std::string> entries; // by "application/section/key"
    int writes = 0;

    SettingsStore store();
};
