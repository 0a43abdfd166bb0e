// The contract cases (ContractCases.cpp) on the backends of this platform:
// the spreadsheet held in memory and a real office.
#include "Contract.h"
#include "Fills.h"
#include "OfficeFixture.h"

namespace {

const Backend kLibreOffice{"LibreOffice",
                           [](Answer answer, Stop stop) {
                               auto options = HeadlessOptions();
                               options.stop = std::move(stop);
                               return MakeTestOffice(options, std::move(answer));
                           },
                           [] { return Workbooks().contract; }, FillOf};

} // namespace

INSTANTIATE_TEST_SUITE_P(Backends, Contract, ::testing::Values(MemoryBackend(), kLibreOffice),
                         BackendName);
