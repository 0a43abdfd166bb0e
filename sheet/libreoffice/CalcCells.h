#pragma once

#include "dupes/BlockAccess.h"

#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>

#include <optional>

namespace sheet::libreoffice {

namespace css = com::sun::star;

// The cells of one worksheet of an open Calc document.
class CalcCells final : public dupes::BlockAccess {
public:
    CalcCells(css::uno::Reference<css::sheet::XSpreadsheet> sheet, sal_Int16 sheetIndex,
              css::uno::Reference<css::lang::XMultiServiceFactory> documentFactory);

    std::string cellText(std::int32_t row, std::int32_t column) override;
    void colourCell(std::int32_t row, std::int32_t column, std::uint32_t colour) override;
    void readTexts(std::int32_t firstRow, std::int32_t rowCount,
                   const std::vector<std::int32_t>& columns, dupes::TextTable& out) override;
    void colourSpans(const std::vector<dupes::CellSpan>& spans, std::uint32_t colour) override;

    std::optional<std::uint32_t> fillOf(std::int32_t row, std::int32_t column);

private:
    css::uno::Reference<css::sheet::XSpreadsheet> sheet_;
    sal_Int16 sheetIndex_;
    css::uno::Reference<css::lang::XMultiServiceFactory> documentFactory_;
};

} // namespace sheet::libreoffice
