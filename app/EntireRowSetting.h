#pragma once

#include <QSettings>
#include <QString>

#include <functional>

// Where the entire-row option lives between runs of the program. It is the
// program's only persisted setting and is kept as the text "1" or "0".
struct EntireRowStore {
    // The stored text; "0" when there is none.
    std::function<QString()> read;
    std::function<void(const QString&)> write;

    // The per-user settings store: organisation "Kestravon", group
    // "Vantrelo", key "Highlight Entire Row". The format is the platform's
    // own store normally; tests pass an INI format pointed at a scratch folder.
    static EntireRowStore inSettings(QSettings::Format format = QSettings::NativeFormat);
};

// Whether a stored text turns the option on: its leading number is exactly 1.
bool entireRowFromStoredText(const QString& text);

// The text stored for a value of the option's check box.
QString storedTextForEntireRow(bool ticked);
