#include "app/Form1.h"

#include "app/OrdinaryFile.h"
#include "sheet/ColumnList.h"
#include "sheet/HighlightBlock.h"
#include "sheet/OpenExcelWorkbook.h"
#include "sheet/SheetError.h"
#include "sheet/Spreadsheet.h"
#include "sheet/StopSwitch.h"

#include <exception>
#include <future>
#include <memory>

namespace {

constexpr char windowTitle[] = "Vantrelo";
constexpr char cursorFileName[] = "HAND-M.CUR";

} // namespace

const std::array<Form1::Events, 8> Form1::events{{
    {Control::Check1, &Form1::Check1_Click, &Form1::Check1_MouseMove},
    {Control::Check2, &Form1::Check2_Click, &Form1::Check2_MouseMove},
    {Control::Check3, &Form1::Check3_Click, &Form1::Check3_MouseMove},
    {Control::Check4, &Form1::Check4_Click, &Form1::Check4_MouseMove},
    {Control::Check5, &Form1::Check5_Click, &Form1::Check5_MouseMove},
    {Control::Check6, &Form1::Check6_Click, &Form1::Check6_MouseMove},
    {Control::Check7, &Form1::Check7_Click, nullptr},
    {Control::List1, nullptr, &Form1::List1_MouseMove},
}};

Form1::Form1(Form1Face& face, Form1Services services, std::function<Clock::time_point()> now)
    : face_(face), services_(std::move(services)), now_(std::move(now)) {}

void Form1::Form_Load() {
    face_.centreOnScreen();

    const std::filesystem::path cursor = services_.programFolder / cursorFileName;
    if (FileExists(cursor))
        face_.loadCustomPointer(cursor);

    HomePageChance(services_.homePageDraw, services_.openHomePage);

    face_.setCaption(windowTitle);
    face_.makeProgressBarWhite();

    for (const dupes::HighlightColour colour : dupes::kHighlightColours)
        face_.addColour(std::string(dupes::ColourName(colour)), colour);
    face_.chooseColourAt(0);

    // A change of the box's value raises its Click like a user's click, so
    // a restored 1 is written straight back; leaving it at 0 writes nothing.
    const auto stored = services_.settings.read(EntireRowSetting());
    const int restored = EntireRowFromStoredText(stored.value_or("0")) ? 1 : 0;
    if (restored != face_.value(Control::Check7)) {
        face_.setValue(Control::Check7, restored);
        Check7_Click();
    }
}

bool Form1::takePress(Control button) {
    if (face_.value(button) != 1)
        return false;
    face_.setValue(button, 0);
    return true;
}

void Form1::selectAll(bool selected) {
    const int count = face_.columnCount();
    for (int i = 0; i < count; ++i)
        face_.selectColumn(i, selected);
}

void Form1::Check1_Click() {
    if (takePress(Control::Check1))
        selectAll(true);
}

void Form1::Check2_Click() {
    if (takePress(Control::Check2))
        chooseBlock();
}

void Form1::Check3_Click() {
    if (takePress(Control::Check3))
        selectAll(false);
}

void Form1::Check4_Click() {
    if (!takePress(Control::Check4))
        return;
    const std::string path = face_.askForWorkbookFile(face_.text(Control::txtExcelFile));
    if (!path.empty())
        face_.setText(Control::txtExcelFile, path);
}

void Form1::Check5_Click() {
    if (takePress(Control::Check5))
        highlight(dupes::RunKind::ExceptFirst);
}

void Form1::Check6_Click() {
    if (takePress(Control::Check6))
        highlight(dupes::RunKind::AllDuplicates);
}

void Form1::Check7_Click() {
    services_.settings.write(EntireRowSetting(),
                             StoredTextForEntireRow(face_.value(Control::Check7) == 1));
}

void Form1::setMousePointer(int value) {
    pointer_ = value;
    face_.showPointer(value);
}

void Form1::hoverOver(WindowPointer::Area area) {
    const int next = WindowPointer::AfterMoveOver(area, pointer_);
    if (next != pointer_)
        setMousePointer(next);
}

void Form1::Form_MouseMove() {
    hoverOver(WindowPointer::Area::Background);
}

void Form1::Frame1_MouseMove() {
    hoverOver(WindowPointer::Area::Frame);
}

void Form1::List1_MouseMove() {
    hoverOver(WindowPointer::Area::ColumnList);
}

void Form1::Check1_MouseMove() {
    hoverOver(WindowPointer::Area::Button);
}

void Form1::Check2_MouseMove() {
    hoverOver(WindowPointer::Area::Button);
}

void Form1::Check3_MouseMove() {
    hoverOver(WindowPointer::Area::Button);
}

void Form1::Check4_MouseMove() {
    hoverOver(WindowPointer::Area::Button);
}

void Form1::Check5_MouseMove() {
    hoverOver(WindowPointer::Area::Button);
}

void Form1::Check6_MouseMove() {
    hoverOver(WindowPointer::Area::Button);
}

void Form1::tell(const std::string& text) {
    face_.showMessage(windowTitle, text);
}

void Form1::chooseBlock() {
    const std::string path = face_.text(Control::txtExcelFile);
    if (path.empty()) {
        tell("You forgot to input excel file");
        face_.setText(Control::txtSelection, "");
        return;
    }
    if (!IsOrdinaryFile(PathOf(path))) {
        tell("Excel not found");
        face_.setText(Control::txtSelection, "");
        return;
    }
    const std::string offered = face_.text(Control::txtSelection);
    setMousePointer(WindowPointer::Hourglass);
    ProgressBarValue bar(ProgressBarValue::BlockChoiceStretch, now_());
    std::string blockName;
    std::vector<std::string> columns;
    const Outcome outcome = runAction(
        bar, [&](sheet::Spreadsheet& spreadsheet, const sheet::ProgressListener& progress) {
            const auto workbook = sheet::OpenExcelWorkbook(spreadsheet, path, progress);
            workbook->show();
            bar.enter(ProgressBarValue::blockChoiceAsking, now_());
            const sheet::Block block =
                workbook->askForBlock("Highlight a block of cells with mouse", offered, [] {});
            bar.enter(ProgressBarValue::blockChoiceListing, now_());
            blockName = workbook->name(block);
            columns = sheet::ColumnList(*workbook, block);
        });
    if (outcome.done) {
        face_.setText(Control::txtSelection, blockName);
        face_.setColumns(columns);
        holdFullBar(bar);
    } else {
        face_.setText(Control::txtSelection, "");
    }
    face_.setProgress(0);
    setMousePointer(WindowPointer::Default);
    // Said once the window is as the failure left it.
    if (!outcome.failure.empty())
        tell(outcome.failure);
}

void Form1::highlight(dupes::RunKind kind) {
    const std::string path = face_.text(Control::txtExcelFile);
    const std::string blockText = face_.text(Control::txtSelection);
    dupes::HighlightOptions options;
    options.kind = kind;
    const int count = face_.columnCount();
    for (int i = 0; i < count; ++i)
        options.selectedColumns.push_back(face_.isColumnSelected(i));
    // The list offers no other colours, and always has one chosen.
    options.colour = face_.chosenColour().value_or(dupes::HighlightColour::Yellow);
    options.entireRow = face_.value(Control::Check7) == 1;

    ProgressBarValue bar(ProgressBarValue::RunStretch, now_());
    const Outcome outcome = runAction(
        bar, [&](sheet::Spreadsheet& spreadsheet, const sheet::ProgressListener& progress) {
            const auto workbook = sheet::OpenExcelWorkbook(spreadsheet, path, progress);
            const sheet::Block block = workbook->findBlock(blockText);
            sheet::HighlightBlock(*workbook, block, options, progress);
            services_.finishRun(*workbook, block);
        });
    if (outcome.done)
        holdFullBar(bar);
    face_.setProgress(0);
    if (!outcome.failure.empty())
        tell(outcome.failure);
}

Form1::Outcome Form1::runAction(
    ProgressBarValue& bar,
    const std::function<void(sheet::Spreadsheet&, const sheet::ProgressListener&)>& work) {
    const auto stop = std::make_shared<sheet::StopSwitch>();
    const sheet::ProgressListener progress = [&bar, this](const sheet::Progress& step) {
        bar.report(step, now_());
    };
    // The office's instance is started, used and ended on this one thread:
    // a workbook belongs to the thread that opened it (COM's apartment rule).
    auto worker = std::async(std::launch::async, [&] {
        const auto spreadsheet = services_.spreadsheet(stop);
        work(*spreadsheet, progress);
    });
    bool closeAsked = false;
    face_.waitWithoutInput(
        [&worker] { return worker.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
        [&] { face_.setProgress(bar.valueAt(now_())); },
        [&] {
            closeAsked = true;
            stop->pull();
        });
    Outcome outcome;
    try {
        worker.get();
        outcome.done = true;
    } catch (const sheet::BlockChoiceCancelled&) {
        // A cancel is the user's answer, not news to show.
    } catch (const std::exception& error) {
        // Whatever failed after a close request failed because the user
        // ended the action on purpose.
        if (!closeAsked && dynamic_cast<const sheet::Stopped*>(&error) == nullptr)
            outcome.failure = error.what();
    } catch (...) {
        if (!closeAsked)
            outcome.failure = "An unexpected failure ended the action.";
    }
    if (closeAsked) {
        face_.closeSoon();
        return {};
    }
    return outcome;
}

void Form1::holdFullBar(ProgressBarValue& bar) {
    bar.fill();
    face_.setProgress(bar.valueAt(now_()));
    const Clock::time_point until = now_() + fullBarShownFor;
    bool closeAsked = false;
    face_.waitWithoutInput([&] { return closeAsked || now_() >= until; }, [] {},
                           [&] { closeAsked = true; });
    if (closeAsked)
        face_.closeSoon();
}
