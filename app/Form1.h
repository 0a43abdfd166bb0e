#pragma once

#include "app/Form1Face.h"
#include "app/Form1Services.h"
#include "app/ProgressBarValue.h"
#include "app/WindowPointer.h"

#include "dupes/HighlightRun.h"

#include <array>
#include <functional>

namespace sheet {
class Spreadsheet;
}

// The program's one window, whatever toolkit draws it: the start-up
// sequence, the button and hover rules, the column list's bulk selection,
// the stored option and the actions behind the buttons. Between actions the
// working state lives in the face's controls; Form1 itself keeps only the
// window's pointer value. Each control event has one handler here, named
// after the control and the event, which the face calls.
class Form1 {
public:
    using Clock = ProgressBarValue::Clock;

    Form1(Form1Face& face, Form1Services services,
          std::function<Clock::time_point()> now = Clock::now);

    // The start-up sequence; runs once, before the window is first shown.
    void Form_Load();

    void Check1_Click(); // Select All
    void Check2_Click(); // mark the block and list its columns
    void Check3_Click(); // Unselect All
    void Check4_Click(); // choose the workbook file
    void Check5_Click(); // Highlight Duplicates Except For First One
    void Check6_Click(); // Highlight All Duplicates
    void Check7_Click(); // the entire-row option, after its toggle

    void Form_MouseMove();
    void Frame1_MouseMove();
    void List1_MouseMove();
    void Check1_MouseMove();
    void Check2_MouseMove();
    void Check3_MouseMove();
    void Check4_MouseMove();
    void Check5_MouseMove();
    void Check6_MouseMove();

    // The window's pointer: 0 the default, 11 the hourglass, 99 the custom
    // pointer.
    int mousePointer() const { return pointer_; }
    void setMousePointer(int value);

    // Which handler each control's Click and MouseMove go to (none where the
    // control has no such event for the window); faces pass events on by it.
    struct Events {
        Form1Layout::Control control;
        void (Form1::*click)();
        void (Form1::*mouseMove)();
    };
    static const std::array<Events, 8> events;

    // How long a full bar stays before it empties at the end of an action.
    static constexpr std::chrono::milliseconds fullBarShownFor{400};

private:
    using Control = Form1Layout::Control;

    // The button rule: true when the button's value was 1; it is back at 0.
    bool takePress(Control button);
    void selectAll(bool selected);
    void hoverOver(WindowPointer::Area area);
    void tell(const std::string& text);

    void chooseBlock();
    void highlight(dupes::RunKind kind);

    struct Outcome {
        bool done = false;
        std::string failure; // what to tell the user; empty when nothing
    };
    // Runs `work` on a worker thread of its own, which owns the office's
    // instance from start to end, while the window keeps painting and moves
    // the bar. A cancel, and a stop the user asked for by closing the window
    // (which then closes), fail it without a word.
    Outcome
    runAction(ProgressBarValue& bar,
              const std::function<void(sheet::Spreadsheet&, const sheet::ProgressListener&)>& work);
    void holdFullBar(ProgressBarValue& bar);

    Form1Face& face_;
    Form1Services services_;
    std::function<Clock::time_point()> now_;
    int pointer_ = WindowPointer::Default;
};
