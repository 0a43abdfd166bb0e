#pragma once

#include "FakeFace.h"
#include "MemorySpreadsheet.h"

#include "app/Form1.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

// Names a parameterised case after its row's `name`.
struct RowName {
    template <typename Row> std::string operator()(const ::testing::TestParamInfo<Row>& row) const {
        return row.param.name;
    }
};

// The window's logic over a face of plain values, the spreadsheet held in
// memory and a settings store in memory, with a workbook file that exists
// (the window looks for it before any office starts) and that the memory
// spreadsheet holds: "Data", with C5:E8 = Name/""/City, Ann/a/Oslo,
// Bob/b/Rome, Ann/c/Oslo.
class WindowFixture : public ::testing::Test {
protected:
    WindowFixture();
    ~WindowFixture() override;

    Form1Services services();
    // A Form1 over the face, after its start-up.
    Form1& started();

    std::string storedEntireRow() const;

    std::filesystem::path folder_;
    std::string book_;
    FakeFace face_;
    MemorySettings settings_;
    memory_sheet::MemorySpreadsheet memory_;
    double draw_ = 0.5;
    std::vector<std::string> opened_; // home pages opened
    std::unique_ptr<Form1> form_;
};
