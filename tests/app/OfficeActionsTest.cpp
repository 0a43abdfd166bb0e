// What only the office shows of the window's actions, against a real
// headless one: a header cell's value rather than its display, a sheet name
// with a blank, fills in the workbook, no instance left behind; one office
// start per action. The flows
// and their failures are tested over the memory backend
// (tests/app/logic). Only the person marking a block is stood in for.
#include "OfficeProcesses.h"
#include "TestOffice.h"
#include "TestSupport.h"
#include "WorkbookMaker.h"

#include "Fills.h"
#include "sheet/Workbook.h"
#include "sheet/libreoffice/LibreOffice.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

class OfficeActionsTest : public QObject {
    Q_OBJECT

    std::optional<SettingsSandbox> sandbox_;
    QTemporaryDir folder_;
    QString book_;
    FakeWorld world_;
    std::optional<std::string> answer_;
    QStringList offeredDefaults_;
    std::function<void(sheet::Workbook&, const sheet::Block&)> onFinished_;

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
        services.finishRun = [this](sheet::Workbook& workbook, const sheet::Block& block) {
            onFinished_(workbook, block);
        };
        return services;
    }

    static void press(const QWidget& form, const char* button) {
        control<QAbstractButton>(form, button)->click();
    }

private slots:
    void initTestCase() {
        sandbox_.emplace();
        book_ = folder_.filePath("book.xlsx");
        WorkbookMaker maker;
        auto doc = maker.create();
        doc.sheet("My Data")
            .text("C5", "Name")
            .number("E5", 42, "[$$-409]#,##0.00")
            .text("F5", "City")
            .rows("C6", {{std::string("Ann"), std::string("a"), 1.0, std::string("Oslo")},
                         {std::string("Bob"), std::string("b"), 2.0, std::string("Rome")},
                         {std::string("Ann"), std::string("c"), 3.0, std::string("Oslo")}});
        doc.saveAs(book_.toStdString());
    }

    void cleanupTestCase() { sandbox_.reset(); }

    // Every instance an action started has ended with it.
    void cleanup() {
        QCOMPARE(EndPrivateOfficeProcesses({}), 0);
        QVERIFY(world_.messages.isEmpty());
    }

    // The block's name keeps the sheet's blank, unquoted; a header that
    // shows as "$42.00" is listed by its value.
    void blockChoiceListsTheColumnsByValue() {
        QtForm1 form(services(), world_.dialogs());
        control<QLineEdit>(form, "txtExcelFile")->setText(book_);
        control<QLineEdit>(form, "txtSelection")->setText("My Data!$C$5");
        answer_ = "'My Data'!C5:F9";
        press(form, "Check2");
        QCOMPARE(offeredDefaults_, QStringList{"My Data!$C$5"});
        QCOMPARE(control<QLineEdit>(form, "txtSelection")->text(), QString("My Data!$C$5:$F$9"));
        QCOMPARE(entries(form), (QStringList{"Name", "<Blank Column 2>", "42", "City"}));
    }

    void highlightButtonsColourTheRepeats() {
        QtForm1 form(services(), world_.dialogs());
        control<QLineEdit>(form, "txtExcelFile")->setText(book_);
        control<QLineEdit>(form, "txtSelection")->setText("My Data!$C$5:$F$8");
        control<QListWidget>(form, "List1")->addItems({"Name", "", "42", "City"});
        control<QListWidget>(form, "List1")->item(0)->setSelected(true);
        control<QComboBox>(form, "Combo1")->setCurrentText("Green");

        std::map<int, std::optional<std::uint32_t>> fillOfName;
        onFinished_ = [&](sheet::Workbook& workbook, const sheet::Block& block) {
            for (int row = 5; row <= 8; ++row)
                fillOfName[row] = FillOf(workbook, block, row, 3);
        };
        press(form, "Check5");
        const std::map<int, std::optional<std::uint32_t>> exceptFirst = {
            {5, std::nullopt}, {6, std::nullopt}, {7, std::nullopt}, {8, 0x00FF00}};
        QCOMPARE(fillOfName, exceptFirst);
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
