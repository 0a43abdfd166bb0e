#pragma once

#include "MemorySpreadsheet.h"

#include "app/qt/QtForm1.h"

#include <QList>
#include <QListWidget>
#include <QObject>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>

// Points the per-user settings store at a scratch folder for as long as it
// lives, so no test reads or writes the real user's settings.
class SettingsSandbox {
public:
    SettingsSandbox();
    ~SettingsSandbox();
    SettingsSandbox(const SettingsSandbox&) = delete;
    SettingsSandbox& operator=(const SettingsSandbox&) = delete;

    // The sandboxed entry of the entire-row option; a null variant if missing.
    static QVariant storedEntireRow();

private:
    QTemporaryDir folder_;
    QString previousIni_;
    QString previousNative_;
};

// A test class whose whole run keeps to a sandboxed settings store.
class SandboxedTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { sandbox_.emplace(); }
    void cleanupTestCase() { sandbox_.reset(); }

private:
    std::optional<SettingsSandbox> sandbox_;
};

// Stand-ins for everything the Qt window takes from outside, recording what
// it was asked; the spreadsheet is held in memory. Must outlive the window
// made from it.
struct FakeWorld {
    QTemporaryDir programFolder; // empty: no pointer file unless a test adds one
    QStringList dialogAnswers;   // one per dialog shown; "" cancels
    QStringList dialogPaths;     // the path in the window as each dialog was asked for
    QStringList messages;        // "title: text"
    memory_sheet::MemorySpreadsheet memory;

    Form1Services services();
    QtDialogs dialogs();
};

// A small cursor file: one 16x16 image stored as PNG, with the given hotspot.
QByteArray pngCursorFile(QPoint hotspot);

// A control of the window by its name.
template <typename Control = QWidget> Control* control(const QWidget& form, const char* name) {
    auto* found = form.findChild<Control*>(QString::fromLatin1(name));
    Q_ASSERT(found);
    return found;
}

// The texts of the column list, top to bottom.
QStringList entries(const QWidget& form);
