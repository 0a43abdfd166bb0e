#pragma once

#include <QByteArray>
#include <QCursor>
#include <QList>
#include <QPoint>
#include <QString>

#include <optional>

// Windows cursor files (.cur): an icon directory whose entries carry the
// hotspot where icons carry planes and bit depth, followed by the images as
// BMP (with an AND mask) or PNG data.

struct CursorDirectoryEntry {
    int width = 0;
    int height = 0;
    QPoint hotspot;
};

// The entries of a cursor file's directory, or nullopt when the bytes are not
// a cursor file (an icon file is not accepted: it has no hotspot).
std::optional<QList<CursorDirectoryEntry>> readCursorDirectory(const QByteArray& bytes);

// The entry nearest the usual 32x32 pointer size, as a cursor with its
// hotspot; nullopt when the file cannot be read or its image not decoded.
std::optional<QCursor> loadCursorFile(const QString& path);
