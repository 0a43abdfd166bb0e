#include "WorkbookMaker.h"
#include "WorkbookMakerUno.h"

#include "sheet/Colour.h"
#include "sheet/libreoffice/OfficeProcess.h"
#include "sheet/libreoffice/Properties.h"
#include "sheet/libreoffice/Strings.h"
#include "sheet/libreoffice/UnoConnection.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/sheet/FilterOperator.hpp>
#include <com/sun/star/sheet/TableFilterField.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XSheetFilterDescriptor.hpp>
#include <com/sun/star/sheet/XSheetFilterable.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>
#include <com/sun/star/table/XTableRows.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XMergeable.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>
#include <com/sun/star/util/XProtectable.hpp>
#include <osl/file.hxx>

#include <filesystem>
#include <stdexcept>

using namespace sheet::libreoffice;
using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

struct WorkbookMaker::Office {
    OfficeProcess process{LibreOfficeOptions{.headless = true, .stop = nullptr}};
    Reference<css::frame::XDesktop2> desktop;
};

struct WorkbookMaker::Document::State {
    Reference<css::sheet::XSpreadsheetDocument> document;
    Reference<css::sheet::XSpreadsheet> sheet;
    bool renamedFirst = false;
};

WorkbookMaker::WorkbookMaker() : office_(std::make_unique<Office>()) {
    office_->desktop = css::frame::Desktop::create(ConnectToOffice(office_->process));
}

WorkbookMaker::~WorkbookMaker() {
    try {
        office_->desktop->terminate();
    } catch (const css::uno::Exception&) {
    }
    office_->desktop.clear();
    office_->process.end(std::chrono::seconds(10));
}

WorkbookMaker::Document WorkbookMaker::create() {
    auto state = std::make_unique<Document::State>();
    const auto component = office_->desktop->loadComponentFromURL(
        "private:factory/scalc", "_blank", 0, Properties({Property("Hidden", Any(true))}));
    state->document.set(component, UNO_QUERY_THROW);
    const Reference<css::container::XIndexAccess> sheets(state->document->getSheets(),
                                                         UNO_QUERY_THROW);
    state->sheet.set(sheets->getByIndex(0), UNO_QUERY_THROW);
    return Document(std::move(state));
}

Reference<css::sheet::XSpreadsheetDocument>
WorkbookMakerUno::DocumentOf(const WorkbookMaker::Document& document) {
    return document.state_->document;
}

WorkbookMaker::Document::Document(std::unique_ptr<State> state) : state_(std::move(state)) {}
WorkbookMaker::Document::Document(Document&&) noexcept = default;

WorkbookMaker::Document::~Document() {
    if (state_) {
        try {
            Reference<css::util::XCloseable>(state_->document, UNO_QUERY_THROW)->close(true);
        } catch (const css::uno::Exception&) {
        }
    }
}

WorkbookMaker::Document& WorkbookMaker::Document::sheet(const std::string& name) {
    const auto sheets = state_->document->getSheets();
    if (!state_->renamedFirst) {
        state_->renamedFirst = true;
        Reference<css::container::XNamed>(state_->sheet, UNO_QUERY_THROW)
            ->setName(ToOUString(name));
        return *this;
    }
    if (!sheets->hasByName(ToOUString(name))) {
        const Reference<css::container::XIndexAccess> all(sheets, UNO_QUERY_THROW);
        sheets->insertNewByName(ToOUString(name), static_cast<sal_Int16>(all->getCount()));
    }
    state_->sheet.set(sheets->getByName(ToOUString(name)), UNO_QUERY_THROW);
    return *this;
}

namespace {

Reference<css::table::XCellRange> RangeOf(const Reference<css::sheet::XSpreadsheet>& sheet,
                                          const std::string& name) {
    return Reference<css::table::XCellRange>(sheet, UNO_QUERY_THROW)
        ->getCellRangeByName(ToOUString(name));
}

sal_Int32 FormatKey(const Reference<css::sheet::XSpreadsheetDocument>& document,
                    const std::string& code) {
    const auto formats =
        Reference<css::util::XNumberFormatsSupplier>(document, UNO_QUERY_THROW)->getNumberFormats();
    const css::lang::Locale english("en", "US", "");
    sal_Int32 key = formats->queryKey(ToOUString(code), english, false);
    if (key < 0) {
        key = formats->addNew(ToOUString(code), english);
    }
    return key;
}

} // namespace

WorkbookMaker::Document& WorkbookMaker::Document::text(const std::string& cell,
                                                       const std::string& value) {
    Reference<css::text::XTextRange>(RangeOf(state_->sheet, cell), UNO_QUERY_THROW)
        ->setString(ToOUString(value));
    return *this;
}

WorkbookMaker::Document& WorkbookMaker::Document::format(const std::string& range,
                                                         const std::string& code) {
    Reference<css::beans::XPropertySet>(RangeOf(state_->sheet, range), UNO_QUERY_THROW)
        ->setPropertyValue("NumberFormat", Any(FormatKey(state_->document, code)));
    return *this;
}

WorkbookMaker::Document& WorkbookMaker::Document::number(const std::string& cell, double value,
                                                         const std::string& code) {
    Reference<css::table::XCell>(RangeOf(state_->sheet, cell)->getCellByPosition(0, 0),
                                 UNO_QUERY_THROW)
        ->setValue(value);
    return code.empty() ? *this : format(cell, code);
}

WorkbookMaker::Document& WorkbookMaker::Document::formula(const std::string& cell,
                                                          const std::string& text,
                                                          const std::string& code) {
    RangeOf(state_->sheet, cell)->getCellByPosition(0, 0)->setFormula(ToOUString(text));
    return code.empty() ? *this : format(cell, code);
}

WorkbookMaker::Document& WorkbookMaker::Document::fill(const std::string& cell,
                                                       std::uint32_t colour) {
    Reference<css::beans::XPropertySet>(RangeOf(state_->sheet, cell), UNO_QUERY_THROW)
        ->setPropertyValue("CellBackColor",
                           Any(static_cast<sal_Int32>(sheet::SwapRedAndBlue(colour))));
    return *this;
}

WorkbookMaker::Document& WorkbookMaker::Document::hideRow(std::int32_t row) {
    const auto rowsOf =
        Reference<css::table::XColumnRowRange>(state_->sheet, UNO_QUERY_THROW)->getRows();
    Reference<css::beans::XPropertySet>(rowsOf->getByIndex(row - 1), UNO_QUERY_THROW)
        ->setPropertyValue("IsVisible", Any(false));
    return *this;
}

WorkbookMaker::Document& WorkbookMaker::Document::filterOut(const std::string& range,
                                                            const std::string& text) {
    const Reference<css::sheet::XSheetFilterable> filterable(RangeOf(state_->sheet, range),
                                                             UNO_QUERY_THROW);
    const auto descriptor = filterable->createFilterDescriptor(true);
    css::sheet::TableFilterField field;
    field.Field = 0;
    field.Operator = css::sheet::FilterOperator_NOT_EQUAL;
    field.IsNumeric = false;
    field.StringValue = ToOUString(text);
    descriptor->setFilterFields(css::uno::Sequence<css::sheet::TableFilterField>(&field, 1));
    filterable->filter(descriptor);
    return *this;
}

WorkbookMaker::Document& WorkbookMaker::Document::merge(const std::string& range) {
    Reference<css::util::XMergeable>(RangeOf(state_->sheet, range), UNO_QUERY_THROW)->merge(true);
    return *this;
}

WorkbookMaker::Document&
WorkbookMaker::Document::rows(const std::string& topLeft,
                              const std::vector<std::vector<CellValue>>& values) {
    if (values.empty()) {
        return *this;
    }
    const auto corner = RangeOf(state_->sheet, topLeft);
    const auto address =
        Reference<css::sheet::XCellRangeAddressable>(corner, UNO_QUERY_THROW)->getRangeAddress();
    const auto width = static_cast<sal_Int32>(values.front().size());
    css::uno::Sequence<css::uno::Sequence<Any>> data(static_cast<sal_Int32>(values.size()));
    auto* row = data.getArray();
    for (const auto& source : values) {
        row->realloc(width);
        auto* cell = row->getArray();
        for (const auto& value : source) {
            if (const auto* s = std::get_if<std::string>(&value)) {
                *cell = Any(ToOUString(*s));
            } else if (const auto* d = std::get_if<double>(&value)) {
                *cell = Any(*d);
            } else {
                *cell = Any(OUString());
            }
            ++cell;
        }
        ++row;
    }
    const auto target =
        Reference<css::table::XCellRange>(state_->sheet, UNO_QUERY_THROW)
            ->getCellRangeByPosition(address.StartColumn, address.StartRow,
                                     address.StartColumn + width - 1,
                                     address.StartRow + static_cast<sal_Int32>(values.size()) - 1);
    Reference<css::sheet::XCellRangeData>(target, UNO_QUERY_THROW)->setDataArray(data);
    return *this;
}

WorkbookMaker::Document& WorkbookMaker::Document::protect(const std::string& password) {
    Reference<css::util::XProtectable>(state_->sheet, UNO_QUERY_THROW)
        ->protect(ToOUString(password));
    return *this;
}

void WorkbookMaker::Document::saveAs(const std::string& path, const std::string& password) {
    const std::string extension = std::filesystem::path(path).extension().string();
    OUString filter = "Calc MS Excel 2007 XML";
    if (extension == ".ods") {
        filter = "calc8";
    } else if (extension == ".xls") {
        filter = "MS Excel 97";
    } else if (extension == ".csv") {
        filter = "Text - txt - csv (StarCalc)";
    }
    OUString url;
    osl::FileBase::getFileURLFromSystemPath(ToOUString(std::filesystem::absolute(path).string()),
                                            url);
    auto arguments =
        Properties({Property("FilterName", Any(filter)), Property("Overwrite", Any(true))});
    if (!password.empty()) {
        arguments.realloc(3);
        arguments.getArray()[2] = Property("Password", Any(ToOUString(password)));
    }
    Reference<css::frame::XStorable>(state_->document, UNO_QUERY_THROW)->storeToURL(url, arguments);
}
