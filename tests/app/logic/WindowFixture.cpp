#include "WindowFixture.h"

#include "app/EntireRowSetting.h"

#include <fstream>
#include <random>

WindowFixture::WindowFixture() {
    folder_ = std::filesystem::temp_directory_path() /
              ("vantrelo-window-" + std::to_string(std::random_device()()));
    std::filesystem::create_directories(folder_);
    book_ = (folder_ / "book #1.xlsx").string();
    std::ofstream(book_) << "stands for a workbook";
    memory_sheet::Book book;
    book.sheets.push_back({"Data", {}});
    book.sheets.back().place(
        5, 3,
        {{"Name", "", "City"}, {"Ann", "a", "Oslo"}, {"Bob", "b", "Rome"}, {"Ann", "c", "Oslo"}});
    memory_.files[book_] = book;
    memory_.answerBlockChoice = [](const std::string&) { return std::string("Data!C5:E8"); };
}

WindowFixture::~WindowFixture() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

Form1Services WindowFixture::services() {
    Form1Services services;
    services.programFolder = folder_;
    services.homePageDraw = [this] { return draw_; };
    services.openHomePage = [this](const std::string& address) {
        face_.startUp.push_back("home page");
        opened_.push_back(address);
    };
    services.settings = settings_.store();
    services.spreadsheet = [this](std::shared_ptr<sheet::StopSwitch> stop) {
        return memory_sheet::Borrowed(memory_, std::move(stop));
    };
    services.finishRun = ShowAndHandOver;
    return services;
}

Form1& WindowFixture::started() {
    form_ = std::make_unique<Form1>(face_, services(), [this] { return face_.now(); });
    form_->Form_Load();
    return *form_;
}

std::string WindowFixture::storedEntireRow() const {
    const auto& address = EntireRowSetting();
    const auto found =
        settings_.entries.find(address.application + "/" + address.section + "/" + address.key);
    return found == settings_.entries.end() ? "(none)" : found->second;
}
