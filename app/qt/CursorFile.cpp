#include "app/qt/CursorFile.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPixmap>
#include <QtEndian>

#include <cstdlib>

namespace {

constexpr qsizetype directoryHeaderSize = 6;
constexpr qsizetype directoryEntrySize = 16;
constexpr quint16 cursorType = 2;
constexpr int usualSize = 32;

quint16 readWord(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

// A width or height byte of 0 stands for 256.
int sizeFromByte(const QByteArray& bytes, qsizetype at) {
    const auto size = static_cast<unsigned char>(bytes.at(at));
    return size == 0 ? 256 : size;
}

} // namespace

std::optional<QList<CursorDirectoryEntry>> readCursorDirectory(const QByteArray& bytes) {
    if (bytes.size() < directoryHeaderSize)
        return std::nullopt;
    const quint16 reserved = readWord(bytes, 0);
    const quint16 type = readWord(bytes, 2);
    const quint16 count = readWord(bytes, 4);
    if (reserved != 0 || type != cursorType || count == 0 ||
        bytes.size() < directoryHeaderSize + count * directoryEntrySize)
        return std::nullopt;

    QList<CursorDirectoryEntry> entries;
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype at = directoryHeaderSize + i * directoryEntrySize;
        entries.append({sizeFromByte(bytes, at), sizeFromByte(bytes, at + 1),
                        QPoint(readWord(bytes, at + 4), readWord(bytes, at + 6))});
    }
    return entries;
}

std::optional<QCursor> loadCursorFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    const auto entries = readCursorDirectory(bytes);
    if (!entries)
        return std::nullopt;

    qsizetype best = 0;
    for (qsizetype i = 1; i < entries->size(); ++i) {
        if (std::abs(entries->at(i).width - usualSize) <
            std::abs(entries->at(best).width - usualSize))
            best = i;
    }

    // Qt's icon reader decodes the images of a cursor file in directory order.
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "cur");
    if (!reader.jumpToImage(static_cast<int>(best)))
        return std::nullopt;
    const QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    const QPoint hotspot = entries->at(best).hotspot;
    return QCursor(QPixmap::fromImage(image), hotspot.x(), hotspot.y());
}
