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

TEST_P(Environment, MovesTemporaryFilesIntoTheProfileAndPicksToolkitAndLocale) {
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
             {"HOME=/h", "TMPDIR=/t", "TMP=/t", "TEMP=/t", "TMPDIRX=kept", "LANG=de_DE.utf8"},
             true,
             {"HOME=/h", "TMPDIRX=kept", "LANG=de_DE.utf8", "TMPDIR=/p/tmp", "TMP=/p/tmp",
              "TEMP=/p/tmp"}},
        Case{"NoLocaleGetsCInUtf8",
             {"HOME=/h"},
             true,
             {"HOME=/h", "LC_CTYPE=C.UTF-8", "TMPDIR=/p/tmp", "TMP=/p/tmp", "TEMP=/p/tmp"}},
        Case{"LcAllCGetsCInUtf8",
             {"LC_ALL=C", "LANG=C"},
             true,
             {"LC_ALL=C.UTF-8", "LANG=C", "TMPDIR=/p/tmp", "TMP=/p/tmp", "TEMP=/p/tmp"}},
        Case{
            "LcCtypeOverLang",
            {"LC_CTYPE=POSIX", "LANG=en_US.UTF-8"},
            true,
            {"LC_CTYPE=C.UTF-8", "LANG=en_US.UTF-8", "TMPDIR=/p/tmp", "TMP=/p/tmp", "TEMP=/p/tmp"}},
        Case{"LanguageNotInstalledInUtf8",
             {"LANG=xx_XX.ISO-8859-1"},
             true,
             {"LANG=xx_XX.ISO-8859-1", "LC_CTYPE=C.UTF-8", "TMPDIR=/p/tmp", "TMP=/p/tmp",
              "TEMP=/p/tmp"}},
        Case{"WindowsOnXGetTheX11Toolkit",
             {"DISPLAY=:0"},
             false,
             {"DISPLAY=:0", "SAL_USE_VCLPLUGIN=gen", "LC_CTYPE=C.UTF-8", "TMPDIR=/p/tmp",
              "TMP=/p/tmp", "TEMP=/p/tmp"}},
        Case{"TheUsersChoiceOfToolkitStands",
             {"DISPLAY=:0", "SAL_USE_VCLPLUGIN=gtk3"},
             false,
             {"DISPLAY=:0", "SAL_USE_VCLPLUGIN=gtk3", "LC_CTYPE=C.UTF-8", "TMPDIR=/p/tmp",
              "TMP=/p/tmp", "TEMP=/p/tmp"}},
        Case{"WaylandAloneKeepsTheOfficesChoice",
             {"WAYLAND_DISPLAY=wayland-0", "DISPLAYS=x"},
             false,
             {"WAYLAND_DISPLAY=wayland-0", "DISPLAYS=x", "LC_CTYPE=C.UTF-8", "TMPDIR=/p/tmp",
              "TMP=/p/tmp", "TEMP=/p/tmp"}},
        Case{"HeadlessNeedsNoToolkit",
             {"DISPLAY=:0"},
             true,
             {"DISPLAY=:0", "LC_CTYPE=C.UTF-8", "TMPDIR=/p/tmp", "TMP=/p/tmp", "TEMP=/p/tmp"}}),
    [](const ::testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });
