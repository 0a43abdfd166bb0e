// Environments that are odd but ordinary: the C locale of cron and of many
// services, where names beyond ASCII still work as they do under UTF-8; a
// profile template that is damaged or half made, which heals, its abandoned
// set-up folders going too. Each run succeeds and leaves nothing behind. The
// runs go at once: each makes a template or starts an office.
#include "BatchProcess.h"
#include "CliFixture.h"
#include "PrivateRun.h"

#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

enum class Template { Ours, None, Damaged, HalfMade };

struct OddEnvironment {
    const char* name;
    std::string workbook = "book.xlsx";
    std::string temp = "temp";
    std::string home = "home"; // its cache holds the profile template
    Template before = Template::None;
};

// The profile template in `home`'s cache, as `before` says.
fs::path PrepareTemplate(const fs::path& home, Template before) {
    const fs::path cache = home / ".cache" / "vantrelo";
    const fs::path ready = cache / ("office-profile-" + std::to_string(::getuid()));
    fs::create_directories(cache);
    if (before == Template::Damaged) {
        fs::create_directories(ready);
        std::ofstream(ready / "user") << "a file where a folder belongs";
    } else if (before == Template::HalfMade) {
        fs::create_directories(ready / "user" / "config");
        const fs::path abandoned = cache / "office-profile-setup-AbCd12";
        fs::create_directories(abandoned / "user");
        fs::last_write_time(abandoned, fs::file_time_type::clock::now() - std::chrono::hours(1));
    }
    return ready;
}

} // namespace

TEST(OddEnvironments, RunUnderTheCLocaleAndHealTheTemplate) {
    const std::vector<OddEnvironment> environments{
        {.name = "NonAsciiWorkbook", .workbook = "wörk — 1.xlsx", .before = Template::Ours},
        {.name = "NonAsciiTemporaryFolder", .temp = "tëmp — ü 数据", .before = Template::Ours},
        {.name = "NonAsciiHome", .home = "hömé — 1"},
        {.name = "DamagedTemplate", .before = Template::Damaged},
        {.name = "HalfMadeTemplate", .before = Template::HalfMade},
    };
    const fs::path scratch = Scratch();
    std::vector<std::unique_ptr<PrivateRun>> runs;
    std::vector<std::unique_ptr<BatchProcess>> batches;
    for (const OddEnvironment& odd : environments) {
        const fs::path workbook = scratch / odd.name / odd.workbook;
        fs::create_directories(workbook.parent_path());
        fs::copy_file(Workbooks().book, workbook);
        runs.push_back(
            std::make_unique<PrivateRun>(scratch / odd.name / "run", workbook, odd.temp));
        std::vector<std::string> environment{"LANG=C", "LC_ALL=C",
                                             "TMPDIR=" + runs.back()->temp.string()};
        if (odd.before != Template::Ours) {
            const fs::path home = scratch / odd.name / odd.home;
            PrepareTemplate(home, odd.before);
            environment.insert(environment.end(), {"HOME=" + home.string(), "XDG_CACHE_HOME="});
        }
        batches.push_back(std::make_unique<BatchProcess>(
            runs.back()->arguments(kPeopleBlock, "1,2"),
            BatchOptions{.environment = environment, .workingFolder = {}}));
    }
    for (std::size_t i = 0; i < environments.size(); ++i) {
        const OddEnvironment& odd = environments[i];
        SCOPED_TRACE(odd.name);
        const BatchResult result = batches[i]->wait();
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, "");
        EXPECT_TRUE(fs::is_regular_file(runs[i]->output));
        runs[i]->expectNothingLeft();
        if (odd.before != Template::Ours) {
            const fs::path cache = scratch / odd.name / odd.home / ".cache" / "vantrelo";
            const fs::path ready = cache / ("office-profile-" + std::to_string(::getuid()));
            EXPECT_TRUE(fs::is_regular_file(ready / "user" / "registrymodifications.xcu"))
                << "the template was not made whole";
            for (const auto& entry : fs::directory_iterator(cache)) {
                EXPECT_EQ(entry.path(), ready) << "left in the cache";
            }
        }
    }
}
