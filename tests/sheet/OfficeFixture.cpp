#include "OfficeFixture.h"

#include "ContractBook.h"
#include "OfficeProcesses.h"

#include "sheet/BlockText.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

TestWorkbooks* workbooks = nullptr;

void Make(WorkbookMaker& maker, TestWorkbooks& out) {
    auto doc = maker.create();
    doc.sheet("Data")
        .text("C5", "Name")
        .number("E5", 42, "[$$-409]#,##0.00")
        .text("F5", "City")
        .text("C6", "Ann")
        .number("D6", 0.5, "0.00%")
        .number("E6", 45352, "YYYY-MM-DD")
        .text("F6", "  Oslo ")
        .formula("C7", "=\"A\"&\"nn\"")
        .number("D7", 1234.5, "#,##0.00")
        .formula("E7", "=1+1")
        .text("F7", "oslo")
        .fill("B4", 0xFF0000)
        .fill("G10", 0x00FF00);
    doc.sheet("My Data")
        .text("A1", "x")
        .number("B1", 45352.75, "YYYY-MM-DD HH:MM:SS")
        .formula("C1", "=1=1");
    doc.sheet("Third").text("A1", "only");
    doc.saveAs(out.xlsx);
    doc.saveAs(out.ods);
    doc.saveAs(out.csv); // the first sheet only, as csv holds one
}

void MakePeople(WorkbookMaker& maker, const std::string& path, const std::string& protectedPath) {
    auto doc = maker.create();
    doc.sheet("Intro").text("A1", "The data is on the next sheet.");
    doc.sheet("People").rows(
        "B2",
        {
            {std::string("Name"), std::string("City"), std::string("Age"), std::string("Note")},
            {std::string("Ann"), std::string("Oslo"), 30.0, std::string("x")},
            {std::string("Bob"), std::string("Rome"), 41.0, std::string("y")},
            {std::string("Ann"), std::string("Oslo"), 31.0, std::string("z")},
            {std::string("ann"), std::string("Oslo"), 30.0, std::string("x")},
            {std::string("Ann "), std::string("Oslo"), 30.0, std::string("x")},
            {std::string("Bob"), std::string("Rome"), 41.0, std::string("w")},
            {std::string("Ann"), std::string("Oslo"), 30.0, std::string("q")},
            {std::string("Name"), std::string("City"), 5.0, std::string("n")},
        });
    doc.fill("A1", 0x0000FF)
        .fill("C3", 0x00FF00)
        .fill("F5", 0xFF0000)
        .text("B11", "Ann")
        .text("C11", "Oslo");
    doc.saveAs(path);
    doc.protect("").saveAs(protectedPath);
}

// Cells whose display texts are easy to get wrong in bulk.
void MakeCorpus(WorkbookMaker& maker, const std::filesystem::path& folder) {
    auto doc = maker.create();
    doc.sheet("Corpus");
    const std::pair<double, const char*> numbers[] = {
        {1234.5, "#,##0.00"},
        {1234.5, "0.000E+00"},
        {0.256, "0%"},
        {0.256, "0.00%"},
        {-1234.5, "[$€-407] #,##0.00"},
        {-42, "$#,##0.00;[RED]-$#,##0.00"},
        {0.75, "# ?/?"},
        {42, "00000"},
        {1e20, "General"},
        {1e-10, "General"},
        {-0.5, "General"},
        {45352, "YYYY-MM-DD"},
        {45352, "DD/MM/YYYY"},
        {45352, "MMMM D, YYYY"},
        {0.75, "HH:MM:SS"},
        {0.75, "HH:MM AM/PM"},
        {45352.5, "YYYY-MM-DD HH:MM"},
        {1.5, "[HH]:MM"},
        {1, "BOOLEAN"},
        {0, "BOOLEAN"},
        {123456789012345678.0, "General"},
        {1, "General"},
        {0, "General"},
        {3.14159265358979, "0.0000000000"},
    };
    int row = 1;
    for (const auto& [value, format] : numbers) {
        const std::string at = std::to_string(row++);
        doc.number("A" + at, value, format).number("B" + at, value).text("C" + at, format);
    }
    const char* formulas[] = {"=TRUE()",       "=FALSE()",     "=1=1",         "=1/0", "=NA()",
                              "=SQRT(-1)",     "=\"\"",        "=\"x\"&\"y\"", "=1",   "=0",
                              "=ROUND(2/3;4)", "=NOW()-NOW()", "=2>1"};
    for (const char* formula : formulas) {
        const std::string at = std::to_string(row++);
        doc.formula("A" + at, formula).text("B" + at, "formula").formula("D" + at, formula, "0.00");
    }
    const char* texts[] = {"  leading",
                           "trailing  ",
                           "tab\there",
                           "line\nbreak",
                           "say \"hi\"",
                           "\"starts with a quote",
                           "Привет",
                           "日本語のテキスト",
                           "עברית",
                           "😀 emoji",
                           "'apostrophe",
                           "0",
                           "1",
                           "TRUE",
                           "#N/A",
                           "a\tb\nc\"d",
                           ""};
    for (const char* text : texts) {
        const std::string at = std::to_string(row++);
        doc.text("A" + at, text).text("C" + at, text).text("D" + at, "text");
    }
    const std::string at = std::to_string(row++);
    doc.text("A" + at, std::string(5000, 'x') + "end");
    // Hidden rows, filtered rows and a merged block.
    doc.text("A" + std::to_string(row), "hidden").text("B" + std::to_string(row), "h").hideRow(row);
    ++row;
    const int filterFrom = row;
    for (const char* label : {"keep", "drop", "keep", "drop"}) {
        doc.text("A" + std::to_string(row), label).number("B" + std::to_string(row), row);
        ++row;
    }
    doc.filterOut("A" + std::to_string(filterFrom) + ":B" + std::to_string(row - 1), "drop");
    doc.text("A" + std::to_string(row), "merged").text("B" + std::to_string(row), "under");
    doc.merge("A" + std::to_string(row) + ":C" + std::to_string(row + 1));
    doc.saveAs((folder / "corpus.xlsx").string());
    doc.saveAs((folder / "corpus.ods").string());
}

// A cell as the contract book has it: its content where it has one, else
// its text; an error through a formula that gives it.
void PutContractCell(WorkbookMaker::Document& doc, const std::string& at, const std::string& text,
                     const memory_sheet::Content* content) {
    using Kind = memory_sheet::Content::Kind;
    if (content == nullptr) {
        doc.text(at, text);
        return;
    }
    const std::string format = content->format == "General" ? "" : content->format;
    switch (content->kind) {
    case Kind::Text:
        if (!content->text.empty()) {
            doc.text(at, content->text);
        }
        if (!format.empty()) {
            doc.format(at, format);
        }
        return;
    case Kind::Number:
        doc.number(at, content->number, format);
        return;
    case Kind::Error:
        doc.formula(at, content->error == 2042 ? "=NA()" : "=1/0", format);
        return;
    }
}

void MakeContract(WorkbookMaker& maker, const std::string& path) {
    auto doc = maker.create();
    for (const memory_sheet::Sheet& sheet : ContractBook().sheets) {
        doc.sheet(sheet.name);
        for (const auto& [cell, text] : sheet.texts) {
            const auto content = sheet.contents.find(cell);
            PutContractCell(doc, sheet::ColumnLetters(cell.second) + std::to_string(cell.first),
                            text, content == sheet.contents.end() ? nullptr : &content->second);
        }
    }
    doc.saveAs(path);
}

class OfficeEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        char pattern[] = "/tmp/vantrelo-test-XXXXXX";
        workbooks = new TestWorkbooks;
        workbooks->folder = ::mkdtemp(pattern);
        const auto at = [](const char* name) { return (workbooks->folder / name).string(); };
        workbooks->xlsx = at("book.xlsx");
        workbooks->ods = at("book.ods");
        workbooks->csv = at("book.csv");
        workbooks->text = at("notes.txt");
        workbooks->people = at("people.xlsx");
        workbooks->contract = at("contract.xlsx");
        workbooks->protectedPeople = at("protected-people.xlsx");
        std::ofstream(workbooks->text) << "Just some words, no table.\n";
        WorkbookMaker maker;
        Make(maker, *workbooks);
        MakePeople(maker, workbooks->people, workbooks->protectedPeople);
        workbooks->bad = MakeBadWorkbooks(maker, workbooks->folder, workbooks->people);
        MakeContract(maker, workbooks->contract);
        MakeCorpus(maker, workbooks->folder);
    }
    void TearDown() override {
        std::filesystem::remove_all(workbooks->folder);
        delete workbooks;
        workbooks = nullptr;
    }
};

// After every test, no office that the test started may still run.
class NoOfficeLeft : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override {
        const int left = EndPrivateOfficeProcesses({});
        EXPECT_EQ(left, 0) << "office processes were left running";
    }
};

} // namespace

const TestWorkbooks& Workbooks() {
    return *workbooks;
}

sheet::libreoffice::LibreOfficeOptions HeadlessOptions() {
    sheet::libreoffice::LibreOfficeOptions options;
    options.headless = true;
    return options;
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new OfficeEnvironment);
    ::testing::UnitTest::GetInstance()->listeners().Append(new NoOfficeLeft);
    return RUN_ALL_TESTS();
}
