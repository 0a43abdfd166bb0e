#include "app/Form1.h"

#include "app/CheckButton.h"
#include "app/CursorFile.h"
#include "app/InputPause.h"
#include "app/OrdinaryFile.h"
#include "app/StartupRoutines.h"
#include "sheet/ColumnList.h"
#include "sheet/HighlightBlock.h"
#include "sheet/OpenExcelWorkbook.h"
#include "sheet/SheetError.h"
#include "sheet/StopSwitch.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QProgressBar>

#include <atomic>
#include <memory>

namespace {

// A closed window stops the action under way: whatever that made the office
// work fail is what the user asked for, not news to show.
bool StoppedOnPurpose(const InputPause& pause, const std::exception& error) {
    return pause.closeAsked() || dynamic_cast<const sheet::Stopped*>(&error) != nullptr;
}

} // namespace

Form1::Form1(Form1Services services, QWidget* parent)
    : QWidget(parent), services_(std::move(services)) {
    createControls();
    placeControls();
    setFocusOrder();
    connectHandlers();
    Form_Load();
}

void Form1::connectHandlers() {
    connect(Check1, &CheckButton::Click, this, &Form1::Check1_Click);
    connect(Check2, &CheckButton::Click, this, &Form1::Check2_Click);
    connect(Check3, &CheckButton::Click, this, &Form1::Check3_Click);
    connect(Check4, &CheckButton::Click, this, &Form1::Check4_Click);
    connect(Check5, &CheckButton::Click, this, &Form1::Check5_Click);
    connect(Check6, &CheckButton::Click, this, &Form1::Check6_Click);
    // The check box's Click comes with every change of its value, the
    // start-up's restore included, not only with the user's clicks.
    connect(Check7, &QCheckBox::toggled, this, &Form1::Check7_Click);

    mouseMoveHandlers_ = {
        {Frame1, &Form1::Frame1_MouseMove},           {List1, &Form1::List1_MouseMove},
        {List1->viewport(), &Form1::List1_MouseMove}, {Check1, &Form1::Check1_MouseMove},
        {Check2, &Form1::Check2_MouseMove},           {Check3, &Form1::Check3_MouseMove},
        {Check4, &Form1::Check4_MouseMove},           {Check5, &Form1::Check5_MouseMove},
        {Check6, &Form1::Check6_MouseMove},
    };
    setMouseTracking(true);
    for (auto it = mouseMoveHandlers_.cbegin(); it != mouseMoveHandlers_.cend(); ++it) {
        auto* watched = static_cast<QWidget*>(it.key());
        watched->setMouseTracking(true);
        watched->installEventFilter(this);
    }
    // A move over a control belongs to that control alone: it must not reach
    // Frame1 or the window's background as theirs.
    const QList<QWidget*> controls = findChildren<QWidget*>();
    for (QWidget* control : controls)
        control->setAttribute(Qt::WA_NoMousePropagation);
}

void Form1::Form_Load() {
    CentreOnScreen(*this);

    const QString cursorPath = QDir(services_.programFolder).filePath(QStringLiteral("HAND-M.CUR"));
    if (FileExists(cursorPath))
        pointer_.setCustomCursor(loadCursorFile(cursorPath));

    HomePageChance(services_.homePageDraw, services_.openUrl);

    setWindowTitle(QStringLiteral("Vantrelo"));

    QPalette bar = ProgressBar1->palette();
    bar.setColor(QPalette::Base, Qt::white);
    bar.setColor(QPalette::Window, Qt::white);
    ProgressBar1->setPalette(bar);

    for (const dupes::HighlightColour colour : dupes::kHighlightColours)
        Combo1->addItem(QString::fromLatin1(dupes::ColourName(colour)));
    Combo1->setCurrentIndex(0);

    // Ticking the box raises its Click, which writes a restored 1 straight
    // back as "1"; leaving it unticked writes nothing.
    Check7->setChecked(entireRowFromStoredText(services_.entireRow.read()));
}

void Form1::Check1_Click() {
    if (!Check1->takePress())
        return;
    const int count = List1->count();
    for (int i = 0; i < count; ++i)
        List1->item(i)->setSelected(true);
}

void Form1::Check2_Click() {
    if (!Check2->takePress())
        return;
    chooseBlock();
}

void Form1::Check3_Click() {
    if (!Check3->takePress())
        return;
    const int count = List1->count();
    for (int i = 0; i < count; ++i)
        List1->item(i)->setSelected(false);
}

void Form1::Check4_Click() {
    if (!Check4->takePress())
        return;
    const QString path = services_.chooseWorkbookFile(this, txtExcelFile->text());
    if (!path.isEmpty())
        txtExcelFile->setText(path);
}

void Form1::Check5_Click() {
    if (!Check5->takePress())
        return;
    highlight(true);
}

void Form1::Check6_Click() {
    if (!Check6->takePress())
        return;
    highlight(false);
}

void Form1::Check7_Click() {
    services_.entireRow.write(storedTextForEntireRow(Check7->isChecked()));
}

void Form1::chooseBlock() {
    const QString path = txtExcelFile->text();
    if (path.isEmpty()) {
        services_.showMessage(this, QStringLiteral("You forgot to input excel file"));
        txtSelection->clear();
        return;
    }
    if (!IsOrdinaryFile(path)) {
        services_.showMessage(this, QStringLiteral("Excel not found"));
        txtSelection->clear();
        return;
    }
    struct Choice {
        std::string blockName;
        std::vector<std::string> columns;
    };
    const std::string offered = txtSelection->text().toStdString();
    setMousePointer(WindowPointer::Hourglass);
    const auto stop = std::make_shared<sheet::StopSwitch>();
    InputPause pause(this, [stop] { stop->pull(); });
    try {
        // All of the office work, from open to close, on one worker thread:
        // the workbook belongs to the thread that opened it.
        const Choice choice = pause.run([&] {
            const auto spreadsheet = services_.spreadsheet(stop);
            const auto workbook = sheet::OpenExcelWorkbook(*spreadsheet, path.toStdString());
            workbook->show();
            const sheet::Block block =
                workbook->askForBlock("Highlight a block of cells with mouse", offered, [] {});
            return Choice{workbook->name(block), sheet::ColumnList(*workbook, block)};
        });
        txtSelection->setText(QString::fromStdString(choice.blockName));
        List1->clear();
        for (const std::string& entry : choice.columns)
            List1->addItem(QString::fromStdString(entry));
    } catch (const sheet::BlockChoiceCancelled&) {
        txtSelection->clear();
    } catch (const std::exception& e) {
        // Only a cancel and a stop the user asked for are silent: a workbook
        // that cannot be opened or an office that stopped must not look like
        // one.
        txtSelection->clear();
        setMousePointer(WindowPointer::Default);
        if (!StoppedOnPurpose(pause, e))
            services_.showMessage(this, QString::fromUtf8(e.what()));
    }
    setMousePointer(WindowPointer::Default);
}

void Form1::highlight(bool exceptFirst) {
    const std::string path = txtExcelFile->text().toStdString();
    const std::string blockText = txtSelection->text().toStdString();
    dupes::HighlightOptions options;
    options.kind = exceptFirst ? dupes::RunKind::ExceptFirst : dupes::RunKind::AllDuplicates;
    for (int i = 0; i < List1->count(); ++i)
        options.selectedColumns.push_back(List1->item(i)->isSelected());
    // The list offers no other names, so there is always a colour.
    options.colour = dupes::HighlightColourFor(Combo1->currentText().toStdString())
                         .value_or(dupes::HighlightColour::Yellow);
    options.entireRow = Check7->isChecked();

    const auto stop = std::make_shared<sheet::StopSwitch>();
    InputPause pause(this, [stop] { stop->pull(); });
    // The run, and the office reporting its load, work on threads of their
    // own; the bar is moved from here, through every stage from the click.
    std::atomic<int> percent = 0;
    const sheet::ProgressListener progress = [&percent](const sheet::Progress& step) {
        percent = sheet::PercentOfRun(step);
    };
    try {
        pause.run(
            [&] {
                const auto spreadsheet = services_.spreadsheet(stop);
                const auto workbook = sheet::OpenExcelWorkbook(*spreadsheet, path, progress);
                const sheet::Block block = workbook->findBlock(blockText);
                sheet::HighlightBlock(*workbook, block, options, progress);
                services_.finishRun(*workbook, block);
                percent = 100;
            },
            [&] { ProgressBar1->setValue(percent); });
        ProgressBar1->setValue(percent);
    } catch (const std::exception& e) {
        ProgressBar1->setValue(0);
        if (!StoppedOnPurpose(pause, e))
            services_.showMessage(this, QString::fromUtf8(e.what()));
    }
    ProgressBar1->setValue(0);
}

void Form1::mouseMoveEvent(QMouseEvent* event) {
    Form_MouseMove();
    event->accept();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        const auto handler = mouseMoveHandlers_.constFind(watched);
        if (handler != mouseMoveHandlers_.cend())
            (this->*handler.value())();
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::Form_MouseMove() {
    pointer_.hoverOver(WindowPointer::Area::Background);
}

void Form1::Frame1_MouseMove() {
    pointer_.hoverOver(WindowPointer::Area::Frame);
}

void Form1::List1_MouseMove() {
    pointer_.hoverOver(WindowPointer::Area::ColumnList);
}

void Form1::Check1_MouseMove() {
    pointer_.hoverOver(WindowPointer::Area::Button);
}

void Form1::Check2_MouseMove() {
    pointer_.hoverOver(WindowPointer::Area::Button);
}

void Form1::Check3_MouseMove() {
    pointer_.hoverOver(WindowPointer::Area::Button);
}

void Form1::Check4_MouseMove() {
    pointer_.hoverOver(WindowPointer::Area::Button);
}

void Form1::Check5_MouseMove() {
    pointer_.hoverOver(WindowPointer::Area::Button);
}

void Form1::Check6_MouseMove() {
    pointer_.hoverOver(WindowPointer::Area::Button);
}
