// A busy Excel rejects calls with "retry later"; a run waits, and a stop ends
// the wait at once. COM asks the message filters only of calls that cross
// apartments, so the stand-in is served here from a thread of its own.
#include "FakeExcelModel.h"

#include "sheet/excel/ExcelWorkbook.h"

#include <atomic>
#include <future>
#include <gtest/gtest.h>
#include <thread>

namespace {

using sheet::excel::Dispatch;

// COM objects are never deleted through their interfaces.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif
// Answers every incoming call with "retry later" while `rejections` lasts,
// and counts the retries it is asked about as a caller.
class Filter final : public IMessageFilter {
public:
    std::atomic<int> rejections{0};
    std::atomic<int> rejected{0};
    std::atomic<int> retriesAsked{0};

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        *object = IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMessageFilter)
                      ? static_cast<IMessageFilter*>(this)
                      : nullptr;
        return *object != nullptr ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override {
        if (rejections > 0) {
            --rejections;
            ++rejected;
            return SERVERCALL_RETRYLATER;
        }
        return SERVERCALL_ISHANDLED;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override {
        ++retriesAsked;
        return 0;
    }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override {
        return PENDINGMSG_WAITDEFPROCESS;
    }
};
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

// The stand-in for Excel on a single-threaded apartment of its own, its
// Application handed to the calling thread as a proxy.
class BusyExcel {
public:
    explicit BusyExcel(const std::filesystem::path& file) {
        std::promise<IStream*> marshalled;
        thread_ = std::thread([&] {
            CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
            {
                fake::FakeExcelModel excel;
                excel.addFile(file, memory_sheet::Book{});
                CoRegisterMessageFilter(&filter, nullptr);
                IStream* stream = nullptr;
                CoMarshalInterThreadInterfaceInStream(IID_IDispatch, excel.start().get(), &stream);
                threadId_ = GetCurrentThreadId();
                marshalled.set_value(stream);
                MSG message;
                while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                    DispatchMessageW(&message);
                }
                CoRegisterMessageFilter(nullptr, nullptr);
            }
            CoUninitialize();
        });
        stream_ = marshalled.get_future().get();
    }
    ~BusyExcel() {
        filter.rejections = 0;
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    BusyExcel(const BusyExcel&) = delete;
    BusyExcel& operator=(const BusyExcel&) = delete;

    // Once, on the thread that calls it.
    Dispatch application() {
        Dispatch application;
        CoGetInterfaceAndReleaseStream(std::exchange(stream_, nullptr), IID_IDispatch,
                                       reinterpret_cast<void**>(application.put()));
        return application;
    }

    Filter filter;

private:
    std::thread thread_;
    DWORD threadId_ = 0;
    IStream* stream_ = nullptr;
};

class ExcelBusy : public ::testing::Test {
protected:
    void SetUp() override {
        // Whether this COM has the caller's filter retry a rejected call, as
        // Windows does: Wine 8 runs a call whose server said "retry later"
        // at once ("retry call later not implemented") and never asks the
        // caller's filter.
        Filter probe;
        CoRegisterMessageFilter(&probe, nullptr);
        application_ = excel_.application();
        excel_.filter.rejections = 1;
        sheet::excel::Get(application_, L"Hwnd");
        CoRegisterMessageFilter(nullptr, nullptr);
        if (probe.retriesAsked == 0) {
            GTEST_SKIP() << "This COM does not retry calls rejected as busy ("
                         << excel_.filter.rejected << " rejected, the caller's filter never asked)";
        }
    }

    std::unique_ptr<sheet::excel::ExcelWorkbook> open(std::shared_ptr<sheet::StopSwitch> stop) {
        sheet::excel::ExcelOptions options;
        options.start = [this] { return application_; };
        options.stop = std::move(stop);
        return std::make_unique<sheet::excel::ExcelWorkbook>(options, file_.text());
    }

    sheet::excel::ComApartment apartment_;
    fake::StandInFile file_{"vantrelo-fake-busy.xlsx"};
    BusyExcel excel_{file_.path()};
    Dispatch application_;
};

} // namespace

TEST_F(ExcelBusy, ARunWaitsWhileExcelIsBusyThenGoesOn) {
    excel_.filter.rejected = 0;
    excel_.filter.rejections = 4;
    const auto workbook = open(nullptr);
    EXPECT_EQ(excel_.filter.rejected, 4);
}

TEST_F(ExcelBusy, AStopEndsTheWaitAtOnce) {
    excel_.filter.rejected = 0;
    excel_.filter.rejections = 1 << 30; // busy until the test ends
    const auto stop = std::make_shared<sheet::StopSwitch>();
    std::thread puller([&] {
        while (excel_.filter.rejected == 0) {
            std::this_thread::yield();
        }
        stop->pull();
    });
    // Without the stop it would give up only after half a minute, saying so.
    EXPECT_THROW(open(stop), sheet::Stopped);
    puller.join();
    EXPECT_GT(excel_.filter.rejections, 0); // Excel was still busy
}

// Our filter's answers, asked as COM asks them, where this COM does not.
TEST(ExcelBusyFilter, RetriesWhileBusyGivesUpOnARefusalAndOnAStop) {
    const sheet::excel::ComApartment apartment;
    const auto stop = std::make_shared<sheet::StopSwitch>();
    const sheet::excel::RetryRejectedCalls retry(stop);
    IMessageFilter* filter = nullptr;
    CoRegisterMessageFilter(nullptr, &filter); // taken out to be asked here, then put back
    ASSERT_NE(filter, nullptr);
    constexpr DWORD kCancel = static_cast<DWORD>(-1);
    EXPECT_EQ(filter->RetryRejectedCall(nullptr, 1000, SERVERCALL_RETRYLATER), 0u);
    EXPECT_EQ(filter->RetryRejectedCall(nullptr, 1000, SERVERCALL_REJECTED), kCancel);
    EXPECT_EQ(filter->RetryRejectedCall(nullptr, 30000, SERVERCALL_RETRYLATER), kCancel);
    std::thread puller([&] { stop->pull(); }); // before or during the wait
    EXPECT_EQ(filter->RetryRejectedCall(nullptr, 1000, SERVERCALL_RETRYLATER), kCancel);
    puller.join();
    CoRegisterMessageFilter(filter, nullptr);
    filter->Release(); // the reference taking it out handed over
}
