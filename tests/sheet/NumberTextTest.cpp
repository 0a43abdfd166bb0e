#include "sheet/NumberText.h"

#include <gtest/gtest.h>

TEST(NumberText, PlainNumbersWithoutNeedlessDigits) {
    EXPECT_EQ(sheet::NumberAsText(42), "42");
    EXPECT_EQ(sheet::NumberAsText(-3.5), "-3.5");
    EXPECT_EQ(sheet::NumberAsText(0.1), "0.1");
    EXPECT_EQ(sheet::NumberAsText(-0.0), "0");
    EXPECT_EQ(sheet::NumberAsText(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(sheet::NumberAsText(1e20), "1E+20");
    EXPECT_EQ(sheet::NumberAsText(1.5e-7), "1.5E-07");
    EXPECT_EQ(sheet::NumberAsText(123456789012345.0), "123456789012345");
}

TEST(NumberText, SerialDatesAndTimes) {
    const sheet::SerialDate epoch{};
    EXPECT_EQ(sheet::SerialAsText(45352, epoch, true, false), "2024-03-01");
    EXPECT_EQ(sheet::SerialAsText(45352.75, epoch, true, true), "2024-03-01 18:00:00");
    EXPECT_EQ(sheet::SerialAsText(0.5, epoch, false, true), "12:00:00");
    EXPECT_EQ(sheet::SerialAsText(45352 + 86399.0 / 86400.0, epoch, true, true),
              "2024-03-01 23:59:59");
    EXPECT_EQ(sheet::SerialAsText(1, sheet::SerialDate{1904, 1, 1}, true, false), "1904-01-02");
}
