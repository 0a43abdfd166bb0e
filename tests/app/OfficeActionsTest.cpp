// The window's actions that need the office, against a real headless one.
// Only the person marking a block is stood in for.
#include "OfficeProcesses.h"
#include "TestOffice.h"
#include "TestSupport.h"
#include "WorkbookMaker.h"

#include "Fills.h"
#include "app/Form1.h"
#include "sheet/Workbook.h"
#include "sheet/libreoffice/LibreOffice.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>

class OfficeActionsTest : public QObject {
    Q_OBJECT

    std::optional<SettingsSandbox> sandbox_;
    QTemporaryDir folder_;
    QString book_;
    FakeWorld world_;
    QStringList messages_;
    QStringList offeredDefaults_;
    std::optional<std::string> answer_;
    std::function<void(sheet::Workbook&, const sheet::Block&)> onFinished_;
    int leftForTheUser_ = 0; // instances a test leaves running on purpose

    Form1Services services() {
        auto services = world_.services();
        services.spreadsheet = [this](std::shared_ptr<sheet::StopSwitch> stop) {
            sheet::libreoffice::LibreOfficeOptions options;
            options.headless = true;
            options.stop = std::move(stop);
            return MakeTestOffice(options, [this](const std::string& defaultText) {
                offeredDefaults_.append(QString::fromStdString(defaultText));
                return answer_;
            });
        };
        services.showMessage = [this](QWidget*, const QString& text) { messages_.append(text); };
        services.finishRun = [this](sheet::Workbook& workbook, const sheet::Block& block) {
            onFinished_(workbook, block);
        };
        return services;
    }

    static void press(const Form1& form, const char* button) {
        control<QAbstractButton>(form, button)->click();
    }

private slots:
    void initTestCase() {
        sandbox_.emplace();
        book_ = folder_.filePath("book.xlsx");
        WorkbookMaker maker;
        auto doc = maker.create();
        doc.sheet("Data")
            .text("C5", "Name")
            .number("E5", 42, "[$$-409]#,##0.00")
            .text("F5", "City")
            .rows("C6", {{std::string("Ann"), std::string("a"), 1.0, std::string("Oslo")},
                         {std::string("Bob"), std::string("b"), 2.0, std::string("Rome")},
                         {std::string("Ann"), std::string("c"), 3.0, std::string("Oslo")}});
        doc.sheet("My Data").text("B2", "Solo");
        doc.saveAs(book_.toStdString());
    }

    void cleanupTestCase() { sandbox_.reset(); }

    void init() {
        messages_.clear();
        offeredDefaults_.clear();
        leftForTheUser_ = 0;
    }

    void cleanup() { QCOMPARE(EndPrivateOfficeProcesses({}), leftForTheUser_); }

    void inputMistakesAreToldAndStartNoOffice_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty path") << QString() << "You forgot to input excel file";
        QTest::newRow("missing file") << folder_.filePath("nothing.xlsx") << "Excel not found";
        QTest::newRow("folder") << folder_.path() << "Excel not found";
    }
    void inputMistakesAreToldAndStartNoOffice() {
        QFETCH(QString, path);
        QFETCH(QString, message);
        Form1 form(services());
        control<QListWidget>(form, "List1")->addItem("kept");
        control<QLineEdit>(form, "txtExcelFile")->setText(path);
        control<QLineEdit>(form, "txtSelection")->setText("Data!$A$1");
        press(form, "Check2");
        QCOMPARE(messages_, QStringList{message});
        QCOMPARE(control<QLineEdit>(form, "txtSelection")->text(), QString());
        QCOMPARE(entries(form), QStringList{"kept"});
        QVERIFY(PrivateOfficeProcesses().empty());
    }

    void blockChoiceListsTheColumns() {
        Form1 form(services());
        control<QLineEdit>(form, "txtExcelFile")->setText(book_);
        answer_ = "Data!C5:F9";
        press(form, "Check2");
        QCOMPARE(control<QLineEdit>(form, "txtSelection")->text(), QString("Data!$C$5:$F$9"));
        QCOMPARE(entries(form), (QStringList{"Name", "<Blank Column 2>", "42", "City"}));
        QVERIFY(control<QListWidget>(form, "List1")->selectedItems().isEmpty());
        QCOMPARE(form.mousePointer(), 0);
        QVERIFY(PrivateOfficeProcesses().empty());

        // A second pass offers the first one's block and rebuilds the list.
        control<QListWidget>(form, "List1")->item(0)->setSelected(true);
        answer_ = "'My Data'!$B$2";
        press(form, "Check2");
        QCOMPARE(offeredDefaults_.last(), QString("Data!$C$5:$F$9"));
        QCOMPARE(control<QLineEdit>(form, "txtSelection")->text(), QString("My Data!$B$2"));
        QCOMPARE(entries(form), QStringList{"Solo"});
        QVERIFY(control<QListWidget>(form, "List1")->selectedItems().isEmpty());
        QVERIFY(messages_.isEmpty());
    }

    void cancelledChoiceEmptiesTheBlockAndKeepsTheList() {
        Form1 form(services());
        control<QLineEdit>(form, "txtExcelFile")->setText(book_);
        control<QLineEdit>(form, "txtSelection")->setText("Data!$C$5");
        control<QListWidget>(form, "List1")->addItem("old");
        answer_ = std::nullopt;
        press(form, "Check2");
        QCOMPARE(control<QLineEdit>(form, "txtSelection")->text(), QString());
        QCOMPARE(entries(form), QStringList{"old"});
        QCOMPARE(form.mousePointer(), 0);
        QVERIFY(messages_.isEmpty());
        // A cancel ends the office it started: nothing was left to the user.
        QVERIFY(PrivateOfficeProcesses().empty());
    }

    void highlightButtonsColourTheRepeats() {
        Form1 form(services());
        control<QLineEdit>(form, "txtExcelFile")->setText(book_);
        answer_ = "Data!C5:F8";
        press(form, "Check2");
        control<QListWidget>(form, "List1")->item(0)->setSelected(true); // Name
        control<QComboBox>(form, "Combo1")->setCurrentText("Green");

        std::map<int, std::optional<std::uint32_t>> fillOfName;
        onFinished_ = [&](sheet::Workbook& workbook, const sheet::Block& block) {
            for (int row = 5; row <= 8; ++row)
                fillOfName[row] = FillOf(workbook, block, row, 3);
        };
        QSignalSpy progress(control<QProgressBar>(form, "ProgressBar1"),
                            &QProgressBar::valueChanged);
        press(form, "Check6");
        // The bar moved to the end during the run and is empty again after it.
        QVERIFY(progress.contains(QVariantList{100}));
        QCOMPARE(control<QProgressBar>(form, "ProgressBar1")->value(), 0);
        QCOMPARE(fillOfName[5], std::optional<std::uint32_t>());
        QCOMPARE(fillOfName[6], std::optional<std::uint32_t>(0x00FF00));
        QCOMPARE(fillOfName[7], std::optional<std::uint32_t>());
        QCOMPARE(fillOfName[8], std::optional<std::uint32_t>(0x00FF00));

        fillOfName.clear();
        press(form, "Check5");
        QCOMPARE(fillOfName[6], std::optional<std::uint32_t>());
        QCOMPARE(fillOfName[8], std::optional<std::uint32_t>(0x00FF00));
        QVERIFY(messages_.isEmpty());
    }

    void failedRunIsToldAndEndsItsOffice() {
        Form1 form(services());
        control<QLineEdit>(form, "txtExcelFile")->setText(book_);
        control<QLineEdit>(form, "txtSelection")->setText("Data!$C$5:$F$9");
        control<QListWidget>(form, "List1")->addItem("only one entry");
        bool finished = false;
        onFinished_ = [&finished](sheet::Workbook&, const sheet::Block&) { finished = true; };
        press(form, "Check6");
        QVERIFY(!finished);
        QCOMPARE(messages_.size(), 1);
        QVERIFY2(messages_.first().contains("4 columns"), qPrintable(messages_.first()));
        QVERIFY(PrivateOfficeProcesses().empty());

        control<QLineEdit>(form, "txtExcelFile")->setText(folder_.filePath("gone.xlsx"));
        press(form, "Check5");
        QCOMPARE(messages_.size(), 2);
        QVERIFY2(messages_.last().contains("does not exist"), qPrintable(messages_.last()));
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    OfficeActionsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "OfficeActionsTest.moc"
