#include "app/qt/DataFolder.h"

#include <QDir>
#include <QFileInfo>

QString DataFolderHolding(const QString& executableFolder, const QString& fileName) {
    const QDir executable(executableFolder);
    const QString installed =
        QDir::cleanPath(executable.filePath(QStringLiteral("../share/vantrelo")));
    for (const QString& folder : {executable.path(), installed}) {
        if (QFileInfo(QDir(folder).filePath(fileName)).isFile())
            return folder;
    }
    return executable.path();
}
