#include "TestSupport.h"

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

void SettingsSandbox::storeEntireRow(const QString& text) {
    QSettings(QSettings::IniFormat, QSettings::UserScope, organisation)
        .setValue(entireRowKey, text);
}

void SettingsSandbox::clear() {
    QSettings(QSettings::IniFormat, QSettings::UserScope, organisation).clear();
}

Form1Services FakeWorld::services() {
    Form1Services services;
    services.programFolder = programFolder.path();
    services.chooseWorkbookFile = [this](QWidget*, const QString& currentPath) {
        ++dialogCalls;
        dialogPaths.append(currentPath);
        if (onDialog)
            onDialog();
        return dialogAnswers.isEmpty() ? QString() : dialogAnswers.takeFirst();
    };
    services.homePageDraw = [this] { return draw; };
    services.openUrl = [this](const QUrl& url) {
        opened.append(url);
        if (onOpen)
            onOpen();
    };
    // Sandboxed INI rather than the native store: on Windows the native store
    // is the registry, which no sandbox folder redirects.
    services.entireRow = EntireRowStore::inSettings(QSettings::IniFormat);
    services.entireRow.write = [this, write = services.entireRow.write](const QString& text) {
        ++writes;
        write(text);
    };
    return services;
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

QStringList entries(const Form1& form) {
    QStringList texts;
    const auto* list = control<QListWidget>(form, "List1");
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text());
    return texts;
}
