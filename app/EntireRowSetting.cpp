#include "app/EntireRowSetting.h"

#include "app/LeadingNumber.h"

const SettingAddress& EntireRowSetting() {
    static const SettingAddress address{"Kestravon", "Vantrelo", "Highlight Entire Row"};
    return address;
}

bool EntireRowFromStoredText(const std::string& text) {
    return LeadingNumber(text) == 1.0;
}

std::string StoredTextForEntireRow(bool ticked) {
    return ticked ? "1" : "0";
}
