#include "app/qt/QtDesktop.h"

#include "app/qt/DataFolder.h"
#include "app/qt/QtForm1.h"
#include "app/qt/WorkbookFileDialog.h"
#include "sheet/Spreadsheet.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QUrl>

namespace {

QSettings SettingsAt(QSettings::Format format, const SettingAddress& address) {
    return {format, QSettings::UserScope, QString::fromStdString(address.application)};
}

QString KeyOf(const SettingAddress& address) {
    return QString::fromStdString(address.section + "/" + address.key);
}

// The window manager puts the title in the box's title bar, beside its
// buttons: a box only as wide as a short message cuts the title to "V… o".
void WidenForTitle(QMessageBox& box) {
    const int titleRoom = box.fontMetrics().horizontalAdvance(box.windowTitle()) * 2 +
                          box.fontMetrics().height() * 12;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(titleRoom, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace

SettingsStore QtSettingsStore(QSettings::Format format) {
    SettingsStore store;
    store.read = [format](const SettingAddress& address) -> std::optional<std::string> {
        const QVariant value = SettingsAt(format, address).value(KeyOf(address));
        if (!value.isValid())
            return std::nullopt;
        return value.toString().toStdString();
    };
    store.write = [format](const SettingAddress& address, const std::string& text) {
        SettingsAt(format, address).setValue(KeyOf(address), QString::fromStdString(text));
    };
    return store;
}

Form1Services DesktopServices() {
    Form1Services services;
    services.programFolder =
        DataFolderHolding(QCoreApplication::applicationDirPath(), QStringLiteral("HAND-M.CUR"))
            .toStdU16String();
    services.homePageDraw = DrawSeededByTimeOfDay;
    services.openHomePage = [](const std::string& address) {
        QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
    };
    services.settings = QtSettingsStore();
    services.spreadsheet = [](std::shared_ptr<sheet::StopSwitch> stop) {
        return sheet::MakeSpreadsheet(std::move(stop));
    };
    services.finishRun = ShowAndHandOver;
    return services;
}

QtDialogs QtDialogs::desktop() {
    QtDialogs dialogs;
    dialogs.chooseWorkbookFile = askForWorkbookFile;
    dialogs.showMessage = [](QWidget* parent, const QString& title, const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
        WidenForTitle(box);
        box.exec();
    };
    return dialogs;
}
