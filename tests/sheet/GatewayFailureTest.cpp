#include "OfficeFixture.h"
#include "sheet/OpenExcelWorkbook.h"
#include "sheet/SheetError.h"

#include <gtest/gtest.h>

using sheet::libreoffice::MakeLibreOffice;

namespace {

// Opens `path` and returns the failure's description, or "" when it opened.
std::string FailureOpening(const std::string& path,
                           sheet::libreoffice::LibreOfficeOptions options) {
    auto office = MakeLibreOffice(std::move(options));
    try {
        sheet::OpenExcelWorkbook(*office, path);
    } catch (const sheet::SheetError& e) {
        return e.what();
    }
    return "";
}

} // namespace

TEST(GatewayFailure, EachFailureIsDescribedInWords) {
    auto missingOffice = HeadlessOptions();
    missingOffice.programDir = "/nonexistent/libreoffice/program";
    const struct {
        const char* name;
        std::string path;
        sheet::libreoffice::LibreOfficeOptions options;
        const char* says;
    } cases[] = {
        {"office missing", Workbooks().xlsx, missingOffice, "LibreOffice was not found"},
        {"file missing", (Workbooks().folder / "nothing.xlsx").string(), HeadlessOptions(),
         "does not exist"},
        {"folder", Workbooks().folder.string(), HeadlessOptions(), "is not a file"},
        {"empty path", "", HeadlessOptions(), "No workbook"},
        {"not a spreadsheet", Workbooks().text, HeadlessOptions(), "not a spreadsheet"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string failure = FailureOpening(c.path, c.options);
        EXPECT_NE(failure.find(c.says), std::string::npos) << failure;
    }
}

TEST(GatewayFailure, AnOfficeThatNeverAnswersTimesOut) {
    auto options = HeadlessOptions();
    options.startTimeout = std::chrono::milliseconds(1);
    const std::string failure = FailureOpening(Workbooks().xlsx, options);
    EXPECT_NE(failure.find("did not answer"), std::string::npos) << failure;
}
