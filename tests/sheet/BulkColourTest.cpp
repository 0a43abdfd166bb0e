// Colouring many spans in one request: exactly the spanned cells change, and
// the document's undo and row heights work again afterwards.
#include "WorkbookMakerUno.h"
#include "sheet/libreoffice/CalcCells.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/document/XUndoManager.hpp>
#include <com/sun/star/document/XUndoManagerSupplier.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/table/XCell.hpp>

#include <gtest/gtest.h>

#include <set>

namespace {

namespace css = com::sun::star;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

constexpr std::uint32_t yellow = 0x00FFFF;
constexpr std::uint32_t green = 0x00FF00;

struct Sheet {
    Reference<css::sheet::XSpreadsheetDocument> document;
    Reference<css::beans::XPropertySet> settings;
    Reference<css::sheet::XSpreadsheet> sheet;
    std::unique_ptr<sheet::libreoffice::CalcCells> cells;

    explicit Sheet(const WorkbookMaker::Document& made)
        : document(WorkbookMakerUno::DocumentOf(made)), settings(document, UNO_QUERY_THROW) {
        const Reference<css::container::XIndexAccess> sheets(document->getSheets(),
                                                             UNO_QUERY_THROW);
        const Reference<css::frame::XModel> model(document, UNO_QUERY_THROW);
        sheet.set(sheets->getByIndex(0), UNO_QUERY_THROW);
        cells = std::make_unique<sheet::libreoffice::CalcCells>(
            sheet, 0, Reference<css::lang::XMultiServiceFactory>(document, UNO_QUERY_THROW),
            model->getCurrentController());
    }
    bool flag(const char* name) const {
        bool value = false;
        settings->getPropertyValue(rtl::OUString::createFromAscii(name)) >>= value;
        return value;
    }
};

void ExpectExactSpansOverScatteredFormats(WorkbookMaker& maker) {
    SCOPED_TRACE("exact spans");
    auto made = maker.create();
    made.sheet("Data");
    // Text formats on every third row of column A: a column of many
    // attribute runs, which the office handles differently from a plain one.
    for (int row = 1; row <= 40; ++row) {
        made.text("A" + std::to_string(row), "Jun " + std::to_string(row));
        if (row % 3 == 0) {
            made.format("A" + std::to_string(row), "@");
        }
        made.number("B" + std::to_string(row), row);
    }
    made.fill("B5", green).fill("D7", green);
    Sheet sheet(made);

    std::vector<dupes::CellSpan> spans;
    std::set<std::pair<int, int>> expected;
    for (int row = 2; row <= 30; ++row) {
        if (row % 4 != 1) { // runs of three rows, joined into rectangles
            spans.push_back({row, 1, 2});
            expected.insert({row, 1});
            expected.insert({row, 2});
        }
    }
    spans.push_back({33, 3, 3});
    expected.insert({33, 3});
    sheet.cells->colourSpans(spans, yellow);

    for (int row = 1; row <= 41; ++row) {
        for (int column = 1; column <= 5; ++column) {
            std::optional<std::uint32_t> want;
            if (expected.contains({row, column})) {
                want = yellow;
            } else if ((row == 5 && column == 2) || (row == 7 && column == 4)) {
                want = green;
            }
            EXPECT_EQ(sheet.cells->fillOf(row, column), want)
                << "row " << row << ", column " << column;
        }
    }
}

void ExpectUndoAndRowHeightsAsTheyWere(WorkbookMaker& maker) {
    SCOPED_TRACE("undo and row heights");
    auto made = maker.create();
    made.sheet("Data").text("A1", "a").text("A2", "b");
    Sheet sheet(made);
    const Reference<css::document::XUndoManagerSupplier> undo(sheet.document, UNO_QUERY_THROW);

    sheet.cells->colourSpans({{1, 1, 1}, {2, 1, 1}}, yellow);
    EXPECT_TRUE(sheet.flag("IsUndoEnabled"));
    EXPECT_TRUE(sheet.flag("IsAdjustHeightEnabled"));
    // The user's own edits after a run can still be taken back.
    const auto manager = undo->getUndoManager();
    manager->clear();
    sheet.sheet->getCellByPosition(0, 2)->setFormula("c");
    EXPECT_TRUE(manager->isUndoPossible());

    // What was off before stays off.
    sheet.settings->setPropertyValue("IsUndoEnabled", css::uno::Any(false));
    sheet.cells->colourSpans({{2, 1, 1}}, green);
    EXPECT_FALSE(sheet.flag("IsUndoEnabled"));
    EXPECT_TRUE(sheet.flag("IsAdjustHeightEnabled"));
    EXPECT_EQ(sheet.cells->fillOf(2, 1), green);
}

} // namespace

// One office start for both checks, each on a document of its own.
TEST(BulkColour, ColoursExactlyTheSpansAndPutsUndoAndRowHeightsBack) {
    WorkbookMaker maker;
    ExpectExactSpansOverScatteredFormats(maker);
    ExpectUndoAndRowHeightsAsTheyWere(maker);
}
