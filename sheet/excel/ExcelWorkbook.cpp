#include "ExcelWorkbook.h"
#include "sheet/PublishFile.h"
#include "sheet/UsedArea.h"

#include "CellValue.h"
#include "ExcelAddress.h"
#include "FileFormat.h"
#include "VariantValue.h"

#include <filesystem>
#include <system_error>

namespace sheet::excel {

namespace {

constexpr std::int32_t kForceDisableMacros = 3; // msoAutomationSecurityForceDisable
constexpr std::int32_t kCellReference = 8;      // InputBox Type: answer a Range

namespace fs = std::filesystem;

// Excel resolves a relative path against its own folder, not ours.
fs::path AbsolutePath(const std::string& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(fs::path(WideOf(path)), error);
    if (error) {
        throw SheetError("The path \"" + path + "\" cannot be used: " + error.message() + ".");
    }
    return absolute.lexically_normal();
}

std::string Utf8Of(const fs::path& path) {
    const std::wstring wide = path.wstring();
    return excel::Utf8Of(wide.data(), wide.size());
}

// A file removed when it goes, for a copy Excel writes and reads back.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& extension) {
        static unsigned counter = 0;
        std::error_code error;
        const fs::path folder = fs::temp_directory_path(error);
        if (error) {
            throw SheetError("There is no folder for temporary files: " + error.message() + ".");
        }
        path_ = folder / ("vantrelo-copy-" + std::to_string(GetCurrentProcessId()) + "-" +
                          std::to_string(++counter) + extension);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        std::error_code ignored;
        fs::remove(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

void CloseWithoutSaving(const Dispatch& workbook) {
    Call(workbook, L"Close", {}, {{L"SaveChanges", Variant::Bool(false)}});
}

// The workbook Excel opened last, which Workbooks.Open makes the last one.
Dispatch LastWorkbook(const Dispatch& application) {
    const Dispatch workbooks = GetDispatch(application, L"Workbooks");
    return GetDispatch(workbooks, L"Item", {Variant::Int(Get(workbooks, L"Count").int32())});
}

} // namespace

// CoCreateInstance on Excel's class starts a process of its own for each
// object; GetActiveObject, which would find a running one, is never used.
Dispatch StartExcel() {
    CLSID excel{};
    HRESULT hr = CLSIDFromProgID(L"Excel.Application", &excel);
    if (FAILED(hr)) {
        throw SheetError("Excel could not be started: Microsoft Excel is not installed, or not "
                         "registered for automation. Windows said: " +
                         SystemMessage(hr) + ".");
    }
    Dispatch application;
    hr = CoCreateInstance(excel, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                          reinterpret_cast<void**>(application.put()));
    if (FAILED(hr)) {
        throw SheetError("Excel could not be started. Windows said: " + SystemMessage(hr) + ".");
    }
    return application;
}

ExcelWorkbook::ExcelWorkbook(const ExcelOptions& options, const std::string& path,
                             const ProgressListener& progress)
    : options_(options), retry_(options_.stop) {
    if (path.empty()) {
        throw SheetError("No workbook was given.");
    }
    std::error_code error;
    if (!fs::is_regular_file(fs::path(WideOf(path)), error)) {
        throw SheetError("The workbook \"" + path + "\" does not exist or is not a file.");
    }
    // Excel reports nothing of its start or load through automation: each
    // stage is told as it begins.
    if (progress) {
        progress({Stage::StartingOffice, 0, 0});
    }
    application_ = options_.start ? options_.start() : StartExcel();
    try {
        // Before anything else, so that a stop ends Excel from now on.
        process_ = GuardCom("tell which process it runs in", [&] {
            return std::make_unique<ExcelProcess>(application_, options_.stop);
        });
        if (progress) {
            progress({Stage::LoadingWorkbook, 0, 0});
        }
        open(path);
    } catch (...) {
        closeAndQuit();
        if (options_.stop && options_.stop->pulled()) {
            throw Stopped(); // what failed is the Excel the stop ended
        }
        throw;
    }
}

ExcelWorkbook::~ExcelWorkbook() {
    if (!handedOver_) {
        closeAndQuit();
    }
}

void ExcelWorkbook::open(const std::string& path) {
    const std::string absolute = Utf8Of(AbsolutePath(path));
    GuardCom("get ready to open \"" + path + "\"", [&] {
        // A workbook opened by automation runs its macros unasked unless
        // told otherwise, and an alert would wait on a window nobody sees.
        // Nothing is restored afterwards: the instance is ours alone.
        Put(application_, L"AutomationSecurity", Variant::Int(kForceDisableMacros));
        Put(application_, L"DisplayAlerts", Variant::Bool(false));
    });
    GuardCom("open \"" + path + "\"", [&] {
        Call(GetDispatch(application_, L"Workbooks"), L"Open", {Variant::Text(absolute)});
        workbook_ = LastWorkbook(application_);
    });
}

void ExcelWorkbook::closeAndQuit() noexcept {
    cells_.clear();
    // Excel may already be gone; what fails here has nothing left to clean.
    if (workbook_) {
        try {
            CloseWithoutSaving(workbook_);
        } catch (const std::exception&) {
        }
        workbook_.reset();
    }
    if (application_) {
        try {
            Call(application_, L"Quit");
        } catch (const std::exception&) {
        }
        application_.reset();
    }
}

void ExcelWorkbook::show() {
    GuardCom("show the workbook", [&] { Put(application_, L"Visible", Variant::Bool(true)); });
}

Dispatch ExcelWorkbook::sheetAt(std::int32_t index) {
    return GetDispatch(GetDispatch(workbook_, L"Sheets"), L"Item", {Variant::Int(index + 1)});
}

Block ExcelWorkbook::blockOf(const Dispatch& range) {
    Block block;
    const Dispatch sheet = GetDispatch(range, L"Worksheet");
    block.sheetName = Get(sheet, L"Name").text();
    block.sheetIndex = Get(sheet, L"Index").int32() - 1;
    const Dispatch areas = GetDispatch(range, L"Areas");
    const std::int32_t count = Get(areas, L"Count").int32();
    for (std::int32_t i = 1; i <= count; ++i) {
        const Dispatch area = GetDispatch(areas, L"Item", {Variant::Int(i)});
        dupes::BlockGeometry g;
        g.firstRow = Get(area, L"Row").int32();
        g.firstColumn = Get(area, L"Column").int32();
        g.lastRow = g.firstRow + Get(GetDispatch(area, L"Rows"), L"Count").int32() - 1;
        g.lastColumn = g.firstColumn + Get(GetDispatch(area, L"Columns"), L"Count").int32() - 1;
        block.areas.push_back(g);
    }
    if (block.areas.empty()) {
        throw SheetError("Excel answered a block without cells.");
    }
    return block;
}

void ExcelWorkbook::checkInsideSheet(const ParsedBlockText& parsed, const std::string& text) {
    Dispatch sheet;
    if (parsed.sheetName) {
        try {
            sheet = GetDispatch(GetDispatch(workbook_, L"Sheets"), L"Item",
                                {Variant::Text(*parsed.sheetName)});
        } catch (const ComError& e) {
            if (IsDisconnected(e.code())) {
                throw;
            }
            throw SheetError("The block \"" + text +
                             "\" cannot be used: the workbook has no sheet named \"" +
                             *parsed.sheetName + "\".");
        }
    } else {
        sheet = GetDispatch(application_, L"ActiveSheet");
    }
    const std::int32_t rows = Get(GetDispatch(sheet, L"Rows"), L"Count").int32();
    const std::int32_t columns = Get(GetDispatch(sheet, L"Columns"), L"Count").int32();
    for (const auto& area : parsed.areas) {
        if (area.lastRow > rows || area.lastColumn > columns) {
            throw SheetError("The block \"" + text +
                             "\" reaches beyond the sheet's last row or column.");
        }
    }
}

Block ExcelWorkbook::findBlock(const std::string& text) {
    const ParsedBlockText parsed = ParseBlockText(text, SheetLimits{});
    const std::string reference = ExcelReference(parsed);
    if (reference.size() > kMaxAddressLength) {
        throw SheetError("The block \"" + text + "\" cannot be used: Excel takes at most " +
                         std::to_string(kMaxAddressLength) +
                         " characters of address at once; mark fewer areas.");
    }
    return GuardCom("find the block \"" + text + "\"", [&] {
        checkInsideSheet(parsed, text);
        return blockOf(GetDispatch(application_, L"Range", {Variant::Text(reference)}));
    });
}

Block ExcelWorkbook::usedPart(const Block& block) {
    return GuardCom("find the used part of the sheet", [&] {
        const Block used = blockOf(GetDispatch(sheetAt(block.sheetIndex), L"UsedRange"));
        Block part = block;
        for (auto& area : part.areas) {
            area = CutToUsedArea(area, used.geometry(), SheetLimits{});
        }
        return part;
    });
}

Block ExcelWorkbook::askForBlock(const std::string& prompt, const std::string& defaultText,
                                 const std::function<void()>& whileWaiting) {
    static_cast<void>(whileWaiting); // see the header: the input box call blocks
    // The default in Excel's own notation, so that confirming it unchanged
    // works even for a sheet name with blanks; a text that is no block is
    // offered as it is.
    Variant initial = Variant::Missing();
    if (!defaultText.empty()) {
        try {
            initial = Variant::Text(ExcelReference(ParseBlockText(defaultText, SheetLimits{})));
        } catch (const SheetError&) {
            initial = Variant::Text(defaultText);
        }
    }
    Variant answer;
    try {
        answer = Call(application_, L"InputBox",
                      {Variant::Text(prompt), Variant::Missing(), initial, Variant::Missing(),
                       Variant::Missing(), Variant::Missing(), Variant::Missing(),
                       Variant::Int(kCellReference)});
    } catch (const ComError& e) {
        if (IsDisconnected(e.code())) {
            throw BlockChoiceCancelled("The block choice was cancelled: Excel was closed.");
        }
        ThrowAsSheetError("ask for a block", e);
    }
    // Cancel answers False; only a confirmed choice answers a Range.
    if (!answer.isObject()) {
        throw BlockChoiceCancelled("The block choice was cancelled.");
    }
    return GuardCom("read the marked block", [&] { return blockOf(answer.object()); });
}

std::string ExcelWorkbook::name(const Block& block) {
    return GuardCom("name the block", [&] {
        const Dispatch sheet = sheetAt(block.sheetIndex);
        // Excel's own Range.Address per area, which is what a block text is
        // made of; one area at a time, so no address grows too long.
        std::string address;
        for (const auto& area : block.areas) {
            const Dispatch range =
                GetDispatch(sheet, L"Range", {Variant::Text(FormatAddress({area}, SheetLimits{}))});
            address += (address.empty() ? "" : ",") + Get(range, L"Address").text();
        }
        return Get(sheet, L"Name").text() + "!" + address;
    });
}

std::string ExcelWorkbook::headerValue(const Block& block, std::int32_t column) {
    return GuardCom("read a column's name", [&] {
        const Dispatch range =
            GetDispatch(sheetAt(block.sheetIndex), L"Range",
                        {Variant::Text(FormatAddress({block.geometry()}, SheetLimits{}))});
        const Dispatch cell = GetDispatch(GetDispatch(range, L"Cells"), L"Item",
                                          {Variant::Int(1), Variant::Int(column)});
        return CellValueAsText(CellValueOf(Get(cell, L"Value").get()));
    });
}

ExcelCells& ExcelWorkbook::cellsOf(std::int32_t sheetIndex) {
    auto& cells = cells_[sheetIndex];
    if (!cells) {
        cells = std::make_unique<ExcelCells>(
            GuardCom("read the sheet", [&] { return sheetAt(sheetIndex); }));
    }
    return *cells;
}

dupes::BlockAccess& ExcelWorkbook::cells(const Block& block) {
    return cellsOf(block.sheetIndex);
}

Dispatch ExcelWorkbook::copyOfWorkbook() {
    // Not reached for a text workbook (CSV): a copy saved in its own format
    // would come back without fills, so its sheets are copied instead, into
    // a new workbook (Sheets.Copy with no place given).
    Call(GetDispatch(workbook_, L"Sheets"), L"Copy");
    return LastWorkbook(application_);
}

void ExcelWorkbook::saveCopyAs(const std::string& path, bool replace,
                               const ProgressListener& progress) {
    if (progress) {
        progress({Stage::SavingCopy, 0, 0});
    }
    const int format = FileFormatFor(path);
    const fs::path target = AbsolutePath(path);
    // Excel writes the copy in the temporary folder, and only the finished
    // file is published at the target.
    const TemporaryFile saved(target.extension().string());
    GuardCom("save the copy", [&] {
        const std::int32_t ownFormat = Get(workbook_, L"FileFormat").int32();
        if (ownFormat == format) {
            Call(workbook_, L"SaveCopyAs", {Variant::Text(Utf8Of(saved.path()))});
            return;
        }
        // Another format: SaveAs on a copy, so that the open workbook keeps
        // its own name and format. A workbook format goes through a copy of
        // its file, which keeps everything; a text one through its sheets.
        const std::string ownExtension =
            fs::path(WideOf(Get(workbook_, L"Name").text())).extension().string();
        std::unique_ptr<TemporaryFile> file;
        Dispatch copy;
        if (KeepsCellFills(ownFormat) && !ownExtension.empty()) {
            file = std::make_unique<TemporaryFile>(ownExtension);
            Call(workbook_, L"SaveCopyAs", {Variant::Text(Utf8Of(file->path()))});
            Call(GetDispatch(application_, L"Workbooks"), L"Open",
                 {Variant::Text(Utf8Of(file->path()))});
            copy = LastWorkbook(application_);
        } else {
            copy = copyOfWorkbook();
        }
        try {
            Call(copy, L"SaveAs", {Variant::Text(Utf8Of(saved.path())), Variant::Int(format)});
        } catch (...) {
            try {
                CloseWithoutSaving(copy);
            } catch (const std::exception&) {
                // The first failure is the one to report.
            }
            throw;
        }
        CloseWithoutSaving(copy); // before the temporary file goes: Excel holds it open
    });
    PublishFile(saved.path(), target, replace, "The copy");
}

void ExcelWorkbook::handOverToUser() {
    GuardCom("hand the workbook over", [&] {
        Put(application_, L"Visible", Variant::Bool(true));
        // Excel stays when our references go, and the user's closing ends it.
        Put(application_, L"UserControl", Variant::Bool(true));
    });
    process_->handOver();
    cells_.clear();
    workbook_.reset();
    application_.reset();
    handedOver_ = true;
}

} // namespace sheet::excel
