#pragma once

#include "WorkbookMaker.h"

#include <filesystem>
#include <string>

// Workbooks the office cannot use, or could use only in part, and one whose
// stored formula results a recalculation would change; all in `folder`.
struct BadWorkbooks {
    std::string empty;             // no bytes at all
    std::string cutShortSheet;     // people.xlsx with the People sheet's XML cut in half
    std::string cutShortFile;      // people.xlsx cut off after its first bytes
    std::string pastTheLastRow;    // people.xlsx with a row past the office's last
    std::string passwordProtected; // an .ods encrypted with a password
    std::string protectedSheet;    // people.xlsx with the People sheet protected
    // RAND(), NOW(), a link to a file now gone, and 1+1 stored as 5, as .xlsx
    std::string storedResults;
};

// `people` is the people workbook already made (see OfficeFixture.h).
BadWorkbooks MakeBadWorkbooks(WorkbookMaker& maker, const std::filesystem::path& folder,
                              const std::string& people);
