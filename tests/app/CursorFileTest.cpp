// Reading Windows cursor files, and the pointer file at start-up.
#include "TestSupport.h"

#include "app/qt/CursorFile.h"
#include "app/qt/DataFolder.h"
#include "app/qt/QtForm1.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

    // A build tree has the file beside the program; an installed program has
    // it in share/vantrelo beside its bin folder.
    void pointerFileFolder_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("folder");
        QTest::newRow("beside the program") << QStringList{"bin/HAND-M.CUR"} << "bin";
        QTest::newRow("installed") << QStringList{"share/vantrelo/HAND-M.CUR"} << "share/vantrelo";
        QTest::newRow("both: the program's own first")
            << QStringList{"bin/HAND-M.CUR", "share/vantrelo/HAND-M.CUR"} << "bin";
        QTest::newRow("a folder of that name is no file")
            << QStringList{"bin/HAND-M.CUR/", "share/vantrelo/HAND-M.CUR"} << "share/vantrelo";
        QTest::newRow("nowhere") << QStringList{} << "bin";
    }
    void pointerFileFolder() {
        QFETCH(QStringList, files);
        QFETCH(QString, folder);
        QTemporaryDir prefix;
        const QDir root(prefix.path());
        QVERIFY(root.mkpath(QStringLiteral("bin")));
        for (const QString& file : files) {
            if (file.endsWith(QLatin1Char('/'))) {
                QVERIFY(root.mkpath(file));
            } else {
                QVERIFY(root.mkpath(QFileInfo(root.filePath(file)).path()));
                writeFile(root.filePath(file), pngCursorFile({1, 1}));
            }
        }
        QCOMPARE(
            DataFolderHolding(root.filePath(QStringLiteral("bin")), QStringLiteral("HAND-M.CUR")),
            root.filePath(folder));
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

        QtForm1 form(world.services(), world.dialogs());
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
