// The window's two office actions over the spreadsheet held in memory: what
// each shows, what it leaves the user, and every way it can fail, without an
// office. The real office's road is in OfficeActionsTest.
#include "MemorySpreadsheet.h"
#include "TestSupport.h"

#include "app/Form1.h"
#include "sheet/Workbook.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <fstream>
#include <memory>

using memory_sheet::MemorySpreadsheet;

namespace {

enum class Fault { None, Cancel, OpenFails, BlockRefused, ReadFails, ColourRefused };

} // namespace

Q_DECLARE_METATYPE(Fault)

class WindowActionsTest : public SandboxedTest {
    Q_OBJECT

    QTemporaryDir folder_;
    QString path_;
    FakeWorld world_;
    MemorySpreadsheet memory_;
    QStringList messages_;

    // The window's services with the spreadsheet in memory; the path names a
    // real file, as the window checks it before any office starts.
    Form1Services services() {
        auto services = world_.services();
        services.spreadsheet = [this](std::shared_ptr<sheet::StopSwitch> stop) {
            return memory_sheet::Borrowed(memory_, std::move(stop));
        };
        services.showMessage = [this](QWidget*, const QString& text) { messages_.append(text); };
        services.finishRun = [](sheet::Workbook& workbook, const sheet::Block&) {
            workbook.show();
            workbook.handOverToUser();
        };
        return services;
    }

    void apply(Fault fault) {
        switch (fault) {
        case Fault::None:
            break;
        case Fault::Cancel:
            memory_.answerBlockChoice = [](const std::string&) { return std::nullopt; };
            break;
        case Fault::OpenFails:
            memory_.faults.openFails = "LibreOffice could not open the workbook: it is damaged.";
            break;
        case Fault::BlockRefused:
            memory_.faults.blockRefused = "The block cannot be used: no such sheet.";
            break;
        case Fault::ReadFails:
            memory_.faults.readFailsAfterRows = 0;
            break;
        case Fault::ColourRefused:
            memory_.faults.colourRefused =
                "The office refused the colours: the sheet is protected.";
            break;
        }
    }

    static void press(const Form1& form, const char* button) {
        control<QAbstractButton>(form, button)->click();
    }

private slots:
    void init() {
        path_ = folder_.filePath("book #1.xlsx");
        std::ofstream(path_.toStdString()) << "stands for a workbook";
        memory_ = MemorySpreadsheet();
        memory_sheet::Book book;
        book.sheets.push_back({"Data", {}});
        book.sheets.back().place(5, 3,
                                 {{"Name", "", "City"},
                                  {"Ann", "a", "Oslo"},
                                  {"Bob", "b", "Rome"},
                                  {"Ann", "c", "Oslo"}});
        memory_.files[path_.toStdString()] = book;
        memory_.answerBlockChoice = [](const std::string&) { return std::string("Data!C5:E8"); };
        messages_.clear();
    }

    void blockChoice_data() {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<QString>("message"); // empty: none shown
        QTest::newRow("chosen") << Fault::None << QString();
        QTest::newRow("cancelled is silent") << Fault::Cancel << QString();
        QTest::newRow("workbook that cannot be opened")
            << Fault::OpenFails << "LibreOffice could not open the workbook: it is damaged.";
        QTest::newRow("block refused")
            << Fault::BlockRefused << "The block cannot be used: no such sheet.";
    }
    void blockChoice() {
        QFETCH(Fault, fault);
        QFETCH(QString, message);
        apply(fault);
        Form1 form(services());
        control<QLineEdit>(form, "txtExcelFile")->setText(path_);
        control<QLineEdit>(form, "txtSelection")->setText("Data!$C$5");
        control<QListWidget>(form, "List1")->addItem("old");
        press(form, "Check2");

        const bool chosen = fault == Fault::None;
        QCOMPARE(control<QLineEdit>(form, "txtSelection")->text(),
                 chosen ? QString("Data!$C$5:$E$8") : QString());
        const QStringList listed =
            chosen ? QStringList{"Name", "<Blank Column 2>", "City"} : QStringList{"old"};
        QCOMPARE(entries(form), listed);
        QCOMPARE(messages_, message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(form.mousePointer(), 0);
        // Whatever happened, the instance the action started has ended.
        const auto& record = memory_.record();
        QCOMPARE(record.handedOver, 0);
        QCOMPARE(record.closed, record.opened);
        if (fault != Fault::OpenFails)
            QCOMPARE(record.offeredDefaults, std::vector<std::string>{"Data!$C$5"});
    }

    void highlight_data() {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<QString>("message");
        QTest::newRow("coloured and handed over") << Fault::None << QString();
        QTest::newRow("workbook that cannot be opened")
            << Fault::OpenFails << "LibreOffice could not open the workbook: it is damaged.";
        QTest::newRow("block refused")
            << Fault::BlockRefused << "The block cannot be used: no such sheet.";
        QTest::newRow("read fails mid-run")
            << Fault::ReadFails << "The spreadsheet stopped answering while the rows were read.";
        QTest::newRow("colours refused")
            << Fault::ColourRefused << "The office refused the colours: the sheet is protected.";
    }
    void highlight() {
        QFETCH(Fault, fault);
        QFETCH(QString, message);
        apply(fault);
        Form1 form(services());
        control<QLineEdit>(form, "txtExcelFile")->setText(path_);
        control<QLineEdit>(form, "txtSelection")->setText("Data!$C$5:$E$8");
        for (const char* name : {"Name", "", "City"})
            control<QListWidget>(form, "List1")->addItem(name);
        control<QListWidget>(form, "List1")->item(0)->setSelected(true);
        control<QComboBox>(form, "Combo1")->setCurrentText("Blue");
        QSignalSpy progress(control<QProgressBar>(form, "ProgressBar1"),
                            &QProgressBar::valueChanged);
        press(form, "Check6");

        const auto& record = memory_.record();
        if (fault == Fault::None) {
            QVERIFY(messages_.isEmpty());
            QVERIFY(progress.contains(QVariantList{100}));
            QCOMPARE(record.handedOver, 1);
            QCOMPARE(record.shown, 1);
            const auto& fills = record.fills.at("Data");
            QCOMPARE(fills.size(), std::size_t{2});
            QCOMPARE(fills.at({6, 3}), 0xFF0000u);
            QCOMPARE(fills.at({8, 3}), 0xFF0000u);
        } else {
            // Said, and nothing left to the user as if it had worked.
            QCOMPARE(messages_, QStringList{message});
            QCOMPARE(record.handedOver, 0);
            QCOMPARE(record.closed, record.opened);
        }
        QCOMPARE(control<QProgressBar>(form, "ProgressBar1")->value(), 0);
    }

    // The range box is waited for on the action's own thread: the window's
    // thread goes on with its events meanwhile.
    void windowKeepsItsEventsWhileTheBlockIsAskedFor() {
        std::atomic<bool> released = false;
        memory_.onCall = [&released](const std::string& call) {
            if (call == "askForBlock")
                memory_sheet::HoldCall([&released] { return released.load(); });
        };
        Form1 form(services());
        control<QLineEdit>(form, "txtExcelFile")->setText(path_);
        QTimer::singleShot(50, [&released] { released = true; });
        press(form, "Check2");
        QVERIFY(released);
        QCOMPARE(control<QLineEdit>(form, "txtSelection")->text(), QString("Data!$C$5:$E$8"));
    }

    // A call held for good stands for an office that froze or a range box
    // nobody answers: closing the window must still end the action, its
    // instance and the window, with nothing to click away.
    void closingTheWindowEndsTheAction_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("heldCall");
        QTest::addColumn<bool>("fromWindowSystem"); // the title bar's button, not close()
        QTest::newRow("range box waiting") << "Check2"
                                           << "askForBlock" << true;
        QTest::newRow("choice, office frozen at the start") << "Check2"
                                                            << "openWorkbook" << false;
        QTest::newRow("run, office frozen mid-read") << "Check6"
                                                     << "readTexts" << true;
        QTest::newRow("run, office frozen while colouring") << "Check5"
                                                            << "colourSpans" << false;
    }
    void closingTheWindowEndsTheAction() {
        QFETCH(QString, button);
        QFETCH(QString, heldCall);
        QFETCH(bool, fromWindowSystem);
        Form1 form(services());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        memory_.onCall = [&](const std::string& call) {
            if (call != heldCall.toStdString())
                return;
            // Asked on the window's thread, as the user's click would be;
            // the second close must do no harm.
            QMetaObject::invokeMethod(
                &form,
                [&form, fromWindowSystem] {
                    for (int i = 0; i < 2; ++i) {
                        QCloseEvent close;
                        if (fromWindowSystem)
                            QCoreApplication::sendEvent(form.windowHandle(), &close);
                        else
                            form.close();
                    }
                },
                Qt::QueuedConnection);
            memory_sheet::HoldCall([] { return false; });
        };
        control<QLineEdit>(form, "txtExcelFile")->setText(path_);
        control<QLineEdit>(form, "txtSelection")->setText("Data!$C$5:$E$8");
        for (const char* name : {"Name", "", "City"})
            control<QListWidget>(form, "List1")->addItem(name);
        control<QListWidget>(form, "List1")->item(0)->setSelected(true);
        press(form, qPrintable(button));

        // The action is over and the window was there all along; it goes
        // now, and nothing was said about a stop the user asked for.
        QVERIFY(form.isVisible());
        QTRY_VERIFY(!form.isVisible());
        QVERIFY(messages_.isEmpty());
        const auto& record = memory_.record();
        QCOMPARE(record.calls.back(), heldCall.toStdString());
        QCOMPARE(record.handedOver, 0);
        QCOMPARE(record.closed, record.opened);
        QCOMPARE(form.mousePointer(), 0);
    }

    void closingWithNoActionClosesAtOnce() {
        Form1 form(services());
        form.show();
        QVERIFY(form.close());
        QVERIFY(!form.isVisible());
        QVERIFY(memory_.record().calls.empty());
    }
};

int runWindowActionsTests(int argc, char** argv) {
    WindowActionsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WindowActionsTest.moc"
