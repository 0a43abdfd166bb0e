// Reading Windows cursor files, and the pointer file at start-up.
#include "TestSupport.h"

#include "app/CursorFile.h"
#include "app/Form1.h"

#include <QFile>
#include <QTest>

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class CursorFileTest : public SandboxedTest {
    Q_OBJECT

private slots:
    void readsTheHotspotFromTheDirectory() {
        const auto entries = readCursorDirectory(pngCursorFile({11, 6}));
        QVERIFY(entries);
        QCOMPARE(entries->size(), 1);
        QCOMPARE(entries->constFirst().width, 16);
        QCOMPARE(entries->constFirst().hotspot, QPoint(11, 6));
    }

    void refusesWhatIsNotACursorFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QByteArray icon = pngCursorFile({1, 1});
        icon[2] = 1;
        QTest::newRow("icon file") << icon;
        QTest::newRow("too short") << QByteArray("\0\0\2", 3);
        QTest::newRow("directory cut off") << pngCursorFile({1, 1}).left(12);
        QTest::newRow("text") << QByteArray("not a cursor at all");
    }
    void refusesWhatIsNotACursorFile() {
        QFETCH(QByteArray, bytes);
        QVERIFY(!readCursorDirectory(bytes));
    }

    void loadsImageAndHotspot() {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("pointer.cur"));
        writeFile(path, pngCursorFile({11, 6}));
        const auto cursor = loadCursorFile(path);
        QVERIFY(cursor);
        QCOMPARE(cursor->shape(), Qt::BitmapCursor);
        QCOMPARE(cursor->hotSpot(), QPoint(11, 6));
        QCOMPARE(cursor->pixmap().size(), QSize(16, 16));
    }

    void loadsTheBuiltHandPointer() {
        const auto cursor = loadCursorFile(QStringLiteral(BUILT_HAND_CURSOR));
        QVERIFY(cursor);
        QCOMPARE(cursor->pixmap().size(), QSize(32, 32));
        QCOMPARE(cursor->hotSpot(), QPoint(5, 0));
        // Its hotspot is on the drawing, not on a see-through pixel.
        QVERIFY(cursor->pixmap().toImage().pixelColor(cursor->hotSpot()).alpha() > 0);
    }

    void startUpUsesThePointerFileBesideTheProgram_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("present");
        QTest::addColumn<int>("shape");
        QTest::newRow("cursor file") << pngCursorFile({2, 9}) << true << int(Qt::BitmapCursor);
        QTest::newRow("no file") << QByteArray() << false << int(Qt::ArrowCursor);
        QTest::newRow("unreadable file") << QByteArray("garbage") << true << int(Qt::ArrowCursor);
        QByteArray brokenImage = pngCursorFile({2, 9});
        brokenImage.truncate(40);
        QTest::newRow("broken image") << brokenImage << true << int(Qt::ArrowCursor);
    }
    void startUpUsesThePointerFileBesideTheProgram() {
        QFETCH(QByteArray, file);
        QFETCH(bool, present);
        QFETCH(int, shape);
        FakeWorld world;
        if (present)
            writeFile(world.programFolder.filePath(QStringLiteral("HAND-M.CUR")), file);

        Form1 form(world.services());
        form.setMousePointer(99);

        QCOMPARE(int(form.cursor().shape()), shape);
        if (shape == Qt::BitmapCursor)
            QCOMPARE(form.cursor().hotSpot(), QPoint(2, 9));
    }
};

int runCursorFileTests(int argc, char** argv) {
    CursorFileTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "CursorFileTest.moc"
