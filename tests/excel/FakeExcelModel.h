#pragma once

// Excel's object model as far as the Excel backend calls it, answering from
// workbooks held in memory (memory_sheet::Book) and keeping the fills put on
// them: the stand-in for Excel that the gateway's contract cases run the
// backend against on Windows. Like Excel it answers only the thread that
// started it, fails a member it lacks with DISP_E_MEMBERNOTFOUND and a call
// it cannot carry out with DISP_E_EXCEPTION and a text.

#include "FakeDispatch.h"
#include "MemorySpreadsheet.h"

#include <deque>
#include <filesystem>
#include <map>
#include <optional>

namespace fake {

class FakeExcelModel {
public:
    // The person at the input box: gets the offered block text and answers
    // one, or none for Cancel.
    using Person = std::function<std::optional<std::string>(const std::string& offered)>;

    explicit FakeExcelModel(Person person = {});
    FakeExcelModel(const FakeExcelModel&) = delete;
    FakeExcelModel& operator=(const FakeExcelModel&) = delete;

    // Workbooks.Open of the file at `path`, which must exist, opens `book`.
    void addFile(const std::filesystem::path& path, memory_sheet::Book book);
    // A reference to the Application object, for ExcelOptions::start.
    Dispatch start() { return application_.reference(); }

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

    FakeObject& make(Members members);
    static void answerWith(FakeObject& object, Members members);
    FakeObject& workbook(OpenBook& book);
    FakeObject& sheets(OpenBook& book);
    FakeObject& worksheet(OpenBook& book, std::size_t sheet);
    FakeObject& range(const Cells& cells);
    FakeObject& areas(const Cells& cells);
    FakeObject& interior(const Cells& cells);
    FakeObject& counted(std::int32_t count);
    Member setting(const std::wstring& name);
    static Member giving(std::function<FakeObject&()> object);

    HRESULT open(const std::string& path, VARIANT* result);
    HRESULT inputBox(const FakeObject::Record& call, VARIANT* result);
    void save(const OpenBook& book, const std::string& path);
    Cells resolve(const std::string& reference, OpenBook& book, std::size_t sheet) const;
    OpenBook& active() const;

    Person person_;
    std::vector<std::pair<std::filesystem::path, Contents>> files_;
    std::deque<OpenBook> books_;  // every workbook opened, closed ones too
    std::vector<OpenBook*> open_; // Workbooks, in the order opened
    std::map<std::wstring, Variant> settings_;
    std::deque<FakeObject> objects_; // made as asked for; a deque keeps their addresses
    FakeObject application_{"Application"};
    FakeObject workbooks_{"Workbooks"};
};

} // namespace fake
