#pragma once

// Excel's object model as far as the Excel backend calls it, answering from
// workbooks held in memory (memory_sheet::Book) and keeping the fills put on
// them: the one stand-in for Excel that the backend's tests, the gateway's
// contract cases and the call count bench run it against on Windows. Like
// Excel it answers only the thread that started it, fails a member it lacks
// with DISP_E_MEMBERNOTFOUND and a call it cannot carry out with
// DISP_E_EXCEPTION and a text. Every call is counted, and journalled while
// log().journalling is set.

#include "FakeDispatch.h"
#include "MemorySpreadsheet.h"

#include <deque>
#include <filesystem>
#include <map>
#include <optional>

namespace fake {

// A file for the backend's check that the workbook exists, removed when it
// goes; the stand-in answers its content and never reads it.
class StandInFile {
public:
    explicit StandInFile(const std::string& name);
    ~StandInFile();
    StandInFile(const StandInFile&) = delete;
    StandInFile& operator=(const StandInFile&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string text() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

class FakeExcelModel {
public:
    // The person at the input box: gets the offered block text and answers
    // one, or none for Cancel.
    using Person = std::function<std::optional<std::string>(const std::string& offered)>;

    explicit FakeExcelModel(Person person = {});
    ~FakeExcelModel();
    FakeExcelModel(const FakeExcelModel&) = delete;
    FakeExcelModel& operator=(const FakeExcelModel&) = delete;

    // Workbooks.Open of the file at `path`, which must exist, opens `book`.
    void addFile(const std::filesystem::path& path, memory_sheet::Book book);
    // A reference to the Application object, for ExcelOptions::start.
    Dispatch start() { return application_.reference(); }

    CallLog& log() { return log_; }
    // A member, by name, that fails with this code instead of answering.
    std::map<std::wstring, HRESULT> refusals;
    // The window Application.Hwnd names; by default a message-only window of
    // this process, which a real Excel, a process of its own, never has.
    HWND window = nullptr;

    // The fill put on a cell of the first workbook opened, by sheet name.
    std::optional<std::uint32_t> fillOf(const std::string& sheetName, std::int32_t row,
                                        std::int32_t column) const;
    // Every object handed out was given back.
    bool allReleased() const;

private:
    // What a workbook file holds: its sheets' texts and the fills put on them.
    struct Contents {
        memory_sheet::Book book;
        std::vector<std::map<memory_sheet::Cell, std::uint32_t>> fills; // by sheet
    };
    struct OpenBook {
        std::string name; // of its file
        Contents contents;
    };
    // The cells a Range object stands for.
    struct Cells {
        OpenBook* book;
        std::size_t sheet;
        std::vector<dupes::BlockGeometry> areas;
    };
    // Answers one member; a std::exception thrown is Excel's failure text.
    using Member = std::function<HRESULT(const FakeObject::Record&, VARIANT*)>;
    using Members = std::map<std::wstring, Member>;

    FakeObject& make(std::string label, Members members);
    void answerWith(FakeObject& object, Members members);
    FakeObject& workbook(OpenBook& book);
    FakeObject& sheets(OpenBook& book);
    FakeObject& worksheet(OpenBook& book, std::size_t sheet);
    FakeObject& range(const Cells& cells);
    FakeObject& areas(const Cells& cells);
    FakeObject& interior(const Cells& cells);
    FakeObject& counted(std::string label, std::int32_t count);
    Member setting(const std::wstring& name);
    Member giving(std::function<FakeObject&()> object);

    OpenBook& openBook(std::string name, Contents contents);
    HRESULT open(const std::string& path, VARIANT* result);
    HRESULT inputBox(const FakeObject::Record& call, VARIANT* result);
    void save(const OpenBook& book, const std::string& path);
    Cells resolve(const std::string& reference, OpenBook& book, std::size_t sheet) const;
    OpenBook& active() const;

    Person person_;
    CallLog log_;
    HWND ownWindow_ = nullptr;
    std::vector<std::pair<std::filesystem::path, Contents>> files_;
    std::deque<OpenBook> books_;  // every workbook opened, closed ones too
    std::vector<OpenBook*> open_; // Workbooks, in the order opened
    std::map<std::wstring, Variant> settings_;
    FakeObject application_{"Application", &log_};
    FakeObject workbooks_{"Workbooks", &log_};
};

} // namespace fake
