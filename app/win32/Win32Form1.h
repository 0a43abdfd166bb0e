#pragma once

#include "app/Form1.h"
#include "app/Form1Face.h"
#include "app/win32/ControlIds.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <commctrl.h>

#include <array>

// Form1 drawn with Win32 and the common controls, on Windows: makes the
// controls, lays them out at the window's own resolution and passes their
// events on to the window's logic (app/Form1), which runs its start-up
// sequence in create(); the caller shows the window.
class Win32Form1 final : private Form1Face {
public:
    explicit Win32Form1(Form1Services services);
    ~Win32Form1() override;
    Win32Form1(const Win32Form1&) = delete;
    Win32Form1& operator=(const Win32Form1&) = delete;

    // Makes the window and its controls, hidden, and runs the start-up
    // sequence. False when the window could not be made.
    bool create(HINSTANCE instance);
    // Shows the window with the focus on the first control of the tab order.
    void show();
    HWND window() const { return window_; }

    // Keyboard navigation between the controls, for the message loop.
    bool takeDialogMessage(MSG& message);

private:
    using Control = Form1Layout::Control;

    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    void createControls();
    void layOut();
    void fitFieldHeight(HWND combo, int height);
    void fitLabelWidth(HWND label, const Form1Layout::Pixels& box);
    // The events table's entry for a control, or of the control a part of
    // it belongs to; null for none.
    const Form1::Events* eventsOf(HWND control) const;
    void onCommand(HWND from, int code);
    // The hover rule's events: the window, or the control, under the mouse.
    void onMouseMove(HWND under);
    // Shows the window's pointer over `under`; false where its own shows.
    bool showCursor(HWND under, int hit);
    HCURSOR cursorFor(int value) const;
    HWND control(Control which) const;

    // Form1Face
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

    Form1 logic_;
    HWND window_ = nullptr;
    std::array<HWND, Form1Layout::places.size()> controls_{};
    int dpi_ = 96;
    HFONT windowFont_ = nullptr;
    HFONT buttonFont_ = nullptr;
    HBRUSH white_ = nullptr;
    HIMAGELIST highlighter_ = nullptr;
    HCURSOR customCursor_ = nullptr;
    int pointer_ = 0;
    // While an action works: where a close request goes instead of closing.
    std::function<void()> closeAsked_;
    bool waiting_ = false;
};
