#include "app/EntireRowSetting.h"

#include "app/LeadingNumber.h"

namespace {

const QString organisation = QStringLiteral("Kestravon");
const QString group = QStringLiteral("Vantrelo");
const QString key = QStringLiteral("Highlight Entire Row");

} // namespace

EntireRowStore EntireRowStore::inSettings(QSettings::Format format) {
    EntireRowStore store;
    store.read = [format] {
        QSettings settings(format, QSettings::UserScope, organisation);
        settings.beginGroup(group);
        return settings.value(key, QStringLiteral("0")).toString();
    };
    store.write = [format](const QString& text) {
        QSettings settings(format, QSettings::UserScope, organisation);
        settings.beginGroup(group);
        settings.setValue(key, text);
    };
    return store;
}

bool entireRowFromStoredText(const QString& text) {
    return leadingNumber(text) == 1.0;
}

QString storedTextForEntireRow(bool ticked) {
    return ticked ? QStringLiteral("1") : QStringLiteral("0");
}
