// A pulled stop switch ends Excel's process at once, from any thread, unless
// the instance was handed to the user. A process of the test's own stands
// in for Excel's: the stand-in's Application.Hwnd names its window.
#include "FakeExcelModel.h"

#include "sheet/excel/ExcelWorkbook.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <thread>

namespace {

// StandInWindow.exe beside this test, started with pipes for its input and
// output; ended when this goes, and on its own when the test is gone.
class StandInProcess {
public:
    StandInProcess() {
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        HANDLE childInput = nullptr;
        HANDLE childOutput = nullptr;
        if (!CreatePipe(&childInput, &input_, &inherited, 0) ||
            !CreatePipe(&output_, &childOutput, &inherited, 0)) {
            throw std::runtime_error("no pipes for the stand-in process");
        }
        SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring command =
            std::filesystem::path(self).replace_filename(L"stand_in_window.exe").wstring();
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = childInput;
        startup.hStdOutput = childOutput;
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        PROCESS_INFORMATION started{};
        const BOOL ok = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                       nullptr, &startup, &started);
        CloseHandle(childInput);
        CloseHandle(childOutput);
        if (!ok) {
            throw std::runtime_error("the stand-in process did not start");
        }
        CloseHandle(started.hThread);
        process_ = started.hProcess;
        std::string line;
        char c = 0;
        DWORD got = 0;
        while (ReadFile(output_, &c, 1, &got, nullptr) && got == 1 && c != '\n') {
            line += c;
        }
        window_ = reinterpret_cast<HWND>(static_cast<INT_PTR>(std::atoll(line.c_str())));
    }
    ~StandInProcess() {
        CloseHandle(input_); // its input ends: it goes
        if (WaitForSingleObject(process_, 5000) != WAIT_OBJECT_0) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, 5000);
        }
        CloseHandle(process_);
        CloseHandle(output_);
    }
    StandInProcess(const StandInProcess&) = delete;
    StandInProcess& operator=(const StandInProcess&) = delete;

    HWND window() const { return window_; }
    bool endsWithin(DWORD milliseconds) const {
        return WaitForSingleObject(process_, milliseconds) == WAIT_OBJECT_0;
    }

private:
    HANDLE input_ = nullptr;
    HANDLE output_ = nullptr;
    HANDLE process_ = nullptr;
    HWND window_ = nullptr;
};

enum class Pulled { WhileOpen, BeforeOpen, AfterHandOver };

} // namespace

TEST(ExcelStop, APulledSwitchEndsExcelsProcessUnlessHandedOver) {
    for (const Pulled when : {Pulled::WhileOpen, Pulled::BeforeOpen, Pulled::AfterHandOver}) {
        const auto row = static_cast<int>(when);
        StandInProcess excelProcess;
        ASSERT_NE(excelProcess.window(), nullptr) << row;
        fake::FakeExcelModel excel;
        excel.window = excelProcess.window();
        const fake::StandInFile file("vantrelo-fake-stop.xlsx");
        excel.addFile(file.path(), {});
        sheet::excel::ExcelOptions options;
        options.start = [&excel] { return excel.start(); };
        options.stop = std::make_shared<sheet::StopSwitch>();
        if (when == Pulled::BeforeOpen) {
            options.stop->pull(); // while Excel started: ended once it is found
        }
        sheet::excel::ExcelWorkbook workbook(options, file.text());
        if (when == Pulled::AfterHandOver) {
            workbook.handOverToUser();
        }
        std::thread([&options] { options.stop->pull(); }).join();
        if (when == Pulled::AfterHandOver) {
            EXPECT_FALSE(excelProcess.endsWithin(500)) << "the user's Excel was ended";
        } else {
            EXPECT_TRUE(excelProcess.endsWithin(10000)) << row;
        }
    }
}
