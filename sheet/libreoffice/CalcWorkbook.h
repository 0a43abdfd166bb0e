#pragma once

#include "CalcCells.h"
#include "LibreOffice.h"
#include "OfficeProcess.h"
#include "sheet/BlockText.h"
#include "sheet/Workbook.h"

#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include <map>
#include <memory>

namespace sheet::libreoffice {

namespace css = com::sun::star;

// A workbook open in its own private office process.
class CalcWorkbook final : public Workbook {
public:
    CalcWorkbook(const LibreOfficeOptions& options, const std::string& path,
                 const ProgressListener& progress);
    ~CalcWorkbook() override;

    void show() override;
    Block askForBlock(const std::string& prompt, const std::string& defaultText,
                      const std::function<void()>& whileWaiting) override;
    std::string name(const Block& block) override;
    Block findBlock(const std::string& text) override;
    Block usedPart(const Block& block) override;
    std::string headerValue(const Block& block, std::int32_t column) override;
    dupes::BlockAccess& cells(const Block& block) override;
    void saveCopyAs(const std::string& path, bool replace,
                    const ProgressListener& progress) override;
    void handOverToUser() override;

private:
    void load(const css::uno::Reference<css::uno::XComponentContext>& context,
              const std::string& path, const ProgressListener& progress);
    css::uno::Reference<css::frame::XController> controller();
    void closeAndEnd() noexcept;
    css::uno::Reference<css::sheet::XSpreadsheet> sheetAt(std::int32_t index);
    Block resolve(const ParsedBlockText& parsed, const std::string& text);

    std::unique_ptr<OfficeProcess> process_;
    css::uno::Reference<css::frame::XDesktop2> desktop_;
    css::uno::Reference<css::sheet::XSpreadsheetDocument> document_;
    std::map<std::int32_t, std::unique_ptr<CalcCells>> cells_;
    bool handedOver_ = false;
};

} // namespace sheet::libreoffice
