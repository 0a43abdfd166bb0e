#pragma once

#include "app/Form1Layout.h"
#include "dupes/ColourTable.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The controls of Form1 as one toolkit makes them: the Qt window on Linux,
// the Win32 window on Windows. Form1 keeps every rule and calls these; a face
// makes the controls, lays them out (Form1Layout) and passes each control
// event on to Form1's handler for it, and does nothing else.
//
// Everything is called on the window's thread. Texts are UTF-8.
class Form1Face {
public:
    using Control = Form1Layout::Control;

    virtual ~Form1Face() = default;

    // The window as a whole.
    virtual void setCaption(const std::string& caption) = 0;
    // Moves the window, frame and title bar included, to the middle of the
    // primary screen.
    virtual void centreOnScreen() = 0;
    // Loads a cursor file as the picture of the custom pointer; a file that
    // cannot be loaded leaves the arrow.
    virtual void loadCustomPointer(const std::filesystem::path& file) = 0;
    // Shows a pointer value (0, 11 or 99) over the whole window, its
    // controls included.
    virtual void showPointer(int value) = 0;
    // Closes the window, and so ends the program, once the handler under way
    // has returned.
    virtual void closeSoon() = 0;

    // The text boxes, txtExcelFile and txtSelection.
    virtual std::string text(Control box) const = 0;
    virtual void setText(Control box, const std::string& text) = 0;

    // The six buttons and Check7: 1 pressed or ticked, 0 not. Setting the
    // value does not raise the control's Click.
    virtual int value(Control control) const = 0;
    virtual void setValue(Control control, int value) = 0;

    // List1, the column list.
    virtual int columnCount() const = 0;
    virtual bool isColumnSelected(int index) const = 0;
    virtual void selectColumn(int index, bool selected) = 0;
    // Empties the list and adds these entries, none selected.
    virtual void setColumns(const std::vector<std::string>& names) = 0;

    // Combo1: each entry carries its colour as its value.
    virtual void addColour(const std::string& name, dupes::HighlightColour colour) = 0;
    virtual void chooseColourAt(int index) = 0;
    // The colour of the chosen entry; none when none is chosen.
    virtual std::optional<dupes::HighlightColour> chosenColour() const = 0;

    // ProgressBar1.
    virtual void makeProgressBarWhite() = 0;
    virtual void setProgress(int percent) = 0;

    // CommonDialog1: the chosen file's full path, or empty when cancelled.
    virtual std::string askForWorkbookFile(const std::string& currentPath) = 0;
    // A message box with an OK button only and no icon, waited for.
    virtual void showMessage(const std::string& title, const std::string& text) = 0;

    // Until `done` says so, keeps the window painting and takes no input
    // from the user, calling `tick` every few milliseconds. A request to
    // close the window calls `closeAsked` at once (once) and is not carried
    // out: the window stays until it is told to close.
    virtual void waitWithoutInput(const std::function<bool()>& done,
                                  const std::function<void()>& tick,
                                  const std::function<void()>& closeAsked) = 0;
};
