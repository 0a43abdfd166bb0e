#pragma once

#include "dupes/BlockAccess.h"

#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/table/XCellRange.hpp>

#include <map>
#include <optional>

namespace sheet::libreoffice {

namespace css = com::sun::star;

// The cells of one worksheet of an open Calc document.
class CalcCells final : public dupes::BlockAccess {
public:
    CalcCells(css::uno::Reference<css::sheet::XSpreadsheet> sheet, sal_Int16 sheetIndex,
              css::uno::Reference<css::lang::XMultiServiceFactory> documentFactory,
              css::uno::Reference<css::frame::XController> controller);

    std::string cellText(std::int32_t row, std::int32_t column) override;
    void readTexts(std::int32_t firstRow, std::int32_t rowCount,
                   const std::vector<std::int32_t>& columns, dupes::TextTable& out) override;
    void colourSpans(const std::vector<dupes::CellSpan>& spans, std::uint32_t colour) override;

    // The fill of one cell, or none when it has no fill: the colouring
    // checks its work with it, and tests read fills through it.
    std::optional<std::uint32_t> fillOf(std::int32_t row, std::int32_t column);

    // How many cells readTexts had to read one by one, the bulk route
    // having refused them or being untrusted for them.
    std::int64_t cellsReadOneByOne() const { return cellsReadOneByOne_; }

private:
    using Area = dupes::BlockGeometry;

    css::uno::Reference<css::table::XCellRange> rangeOf(const Area& area);
    void readRun(const Area& area, dupes::TextTable& out);
    bool copyBlock(const Area& area, dupes::TextTable& out);
    bool copyAsText(const Area& area, dupes::TextTable& copied,
                    std::map<std::size_t, std::string>& reread);
    std::map<std::size_t, std::string> rereadUntrusted(const Area& area,
                                                       const dupes::TextTable& copied,
                                                       const std::vector<std::size_t>& ambiguous);
    std::string sheetName();

    css::uno::Reference<css::frame::XController> controller_;
    css::uno::Reference<css::sheet::XSpreadsheet> sheet_;
    sal_Int16 sheetIndex_;
    std::int64_t cellsReadOneByOne_ = 0;
    css::uno::Reference<css::lang::XMultiServiceFactory> documentFactory_;
};

} // namespace sheet::libreoffice
