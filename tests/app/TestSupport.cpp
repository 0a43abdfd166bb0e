#include "TestSupport.h"

#include "app/qt/QtDesktop.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QtEndian>

namespace {

const QString organisation = QStringLiteral("Kestravon");
const QString entireRowKey = QStringLiteral("Vantrelo/Highlight Entire Row");

QString userFolderOf(QSettings::Format format) {
    const QSettings probe(format, QSettings::UserScope, organisation);
    return QFileInfo(probe.fileName()).absolutePath();
}

void appendWord(QByteArray& bytes, quint16 value) {
    char raw[2];
    qToLittleEndian(value, raw);
    bytes.append(raw, 2);
}

void appendLong(QByteArray& bytes, quint32 value) {
    char raw[4];
    qToLittleEndian(value, raw);
    bytes.append(raw, 4);
}

} // namespace

SettingsSandbox::SettingsSandbox()
    : previousIni_(userFolderOf(QSettings::IniFormat)),
      previousNative_(userFolderOf(QSettings::NativeFormat)) {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder_.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_.path());
}

SettingsSandbox::~SettingsSandbox() {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, previousIni_);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, previousNative_);
}

QVariant SettingsSandbox::storedEntireRow() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, organisation).value(entireRowKey);
}

Form1Services FakeWorld::services() {
    Form1Services services;
    services.programFolder = programFolder.path().toStdString();
    services.homePageDraw = [] { return 0.5; };
    services.openHomePage = [](const std::string&) {};
    // Sandboxed INI rather than the native store: on Windows the native store
    // is the registry, which no sandbox folder redirects.
    services.settings = QtSettingsStore(QSettings::IniFormat);
    services.spreadsheet = [this](std::shared_ptr<sheet::StopSwitch> stop) {
        return memory_sheet::Borrowed(memory, std::move(stop));
    };
    services.finishRun = ShowAndHandOver;
    return services;
}

QtDialogs FakeWorld::dialogs() {
    QtDialogs dialogs;
    dialogs.chooseWorkbookFile = [this](QWidget*, const QString& currentPath) {
        dialogPaths.append(currentPath);
        return dialogAnswers.isEmpty() ? QString() : dialogAnswers.takeFirst();
    };
    dialogs.showMessage = [this](QWidget*, const QString& title, const QString& text) {
        messages.append(title + ": " + text);
    };
    return dialogs;
}

QByteArray pngCursorFile(QPoint hotspot) {
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int i = 0; i < 16; ++i)
        image.setPixelColor(i, i, Qt::black);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");

    QByteArray file;
    appendWord(file, 0);
    appendWord(file, 2); // cursor
    appendWord(file, 1);
    file.append(char(16)).append(char(16)).append(char(0)).append(char(0));
    appendWord(file, static_cast<quint16>(hotspot.x()));
    appendWord(file, static_cast<quint16>(hotspot.y()));
    appendLong(file, static_cast<quint32>(png.size()));
    appendLong(file, 22);
    return file + png;
}

QStringList entries(const QWidget& form) {
    QStringList texts;
    const auto* list = control<QListWidget>(form, "List1");
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text());
    return texts;
}
