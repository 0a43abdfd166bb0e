#pragma once

#include <QFileInfo>
#include <QString>

// An existing ordinary file: not a folder, not a hidden file.
inline bool IsOrdinaryFile(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden();
}
