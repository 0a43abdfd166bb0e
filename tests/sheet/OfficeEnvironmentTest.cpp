// What an office we start finds in its environment.
#include "sheet/libreoffice/OfficeCommand.h"

#include <algorithm>
#include <gtest/gtest.h>

using sheet::libreoffice::OfficeEnvironment;

namespace {

struct Case {
    const char* name;
    std::vector<std::string> ours;
    bool headless;
    std::vector<std::string> expected;
};

class Environment : public ::testing::TestWithParam<Case> {};

} // namespace

TEST_P(Environment, MovesTemporaryFilesIntoTheProfileAndPicksTheToolkit) {
    const Case& c = GetParam();
    auto got = OfficeEnvironment(c.ours, "/p", c.headless);
    auto expected = c.expected;
    std::ranges::sort(got);
    std::ranges::sort(expected);
    EXPECT_EQ(got, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Offices, Environment,
    ::testing::Values(
        Case{"TemporaryFoldersReplaced",
             {"HOME=/h", "TMPDIR=/t", "TMP=/t", "TEMP=/t", "TMPDIRX=kept"},
             true,
             {"HOME=/h", "TMPDIRX=kept", "TMPDIR=/p/tmp", "TMP=/p/tmp", "TEMP=/p/tmp"}},
        Case{"WindowsOnXGetTheX11Toolkit",
             {"DISPLAY=:0"},
             false,
             {"DISPLAY=:0", "SAL_USE_VCLPLUGIN=gen", "TMPDIR=/p/tmp", "TMP=/p/tmp", "TEMP=/p/tmp"}},
        Case{
            "TheUsersChoiceOfToolkitStands",
            {"DISPLAY=:0", "SAL_USE_VCLPLUGIN=gtk3"},
            false,
            {"DISPLAY=:0", "SAL_USE_VCLPLUGIN=gtk3", "TMPDIR=/p/tmp", "TMP=/p/tmp", "TEMP=/p/tmp"}},
        Case{"WaylandAloneKeepsTheOfficesChoice",
             {"WAYLAND_DISPLAY=wayland-0", "DISPLAYS=x"},
             false,
             {"WAYLAND_DISPLAY=wayland-0", "DISPLAYS=x", "TMPDIR=/p/tmp", "TMP=/p/tmp",
              "TEMP=/p/tmp"}},
        Case{"HeadlessNeedsNoToolkit",
             {"DISPLAY=:0"},
             true,
             {"DISPLAY=:0", "TMPDIR=/p/tmp", "TMP=/p/tmp", "TEMP=/p/tmp"}}),
    [](const ::testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });
