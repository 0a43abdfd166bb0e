// The Qt face's pointer: each area's mouse moves reach the hover rule, as the
// window system delivers them, and the value shows over every control.
#include "TestSupport.h"

#include <QFile>
#include <QGroupBox>
#include <QListWidget>
#include <QTest>

namespace {

// A point over the named control, or over Frame1's own area between its
// list and its buttons ("Frame1"), or over the bare window ("").
QPoint pointOver(QtForm1& form, const QString& name) {
    if (name.isEmpty())
        return {2, 2};
    auto* target = form.findChild<QWidget*>(name);
    if (name == QLatin1String("Frame1")) {
        const auto* list = form.findChild<QWidget*>(QStringLiteral("List1"));
        const auto* selectAll = form.findChild<QWidget*>(QStringLiteral("Check1"));
        const int gap = (list->geometry().bottom() + selectAll->geometry().top()) / 2;
        return target->mapTo(&form, QPoint(target->width() / 2, gap));
    }
    return target->mapTo(&form, target->rect().center());
}

void moveOver(QtForm1& form, const QString& name) {
    QTest::mouseMove(form.windowHandle(), pointOver(form, name));
}

} // namespace

class PointerTest : public SandboxedTest {
    Q_OBJECT

private slots:
    void hoverRule_data() {
        QTest::addColumn<QString>("over");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        for (const char* button : {"Check1", "Check2", "Check3", "Check4", "Check5", "Check6"})
            QTest::addRow("%s shows the custom pointer", button) << button << 0 << 99;
        QTest::newRow("List1 shows the custom pointer") << "List1" << 0 << 99;
        QTest::newRow("background restores the default") << "" << 99 << 0;
        QTest::newRow("Frame1 restores the default") << "Frame1" << 99 << 0;
        for (const char* other :
             {"Combo1", "Check7", "txtExcelFile", "txtSelection", "ProgressBar1", "Label2"})
            QTest::addRow("%s leaves the custom pointer", other) << other << 99 << 99;
    }
    void hoverRule() {
        QFETCH(QString, over);
        QFETCH(int, before);
        QFETCH(int, after);
        FakeWorld world;
        QtForm1 form(world.services(), world.dialogs());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.setMousePointer(before);
        // The points for the background and Frame1 hit nothing else.
        if (over.isEmpty())
            QCOMPARE(form.childAt(pointOver(form, over)), nullptr);
        if (over == QLatin1String("Frame1"))
            QCOMPARE(form.childAt(pointOver(form, over)), form.findChild<QWidget*>(over));

        moveOver(form, over);

        QCOMPARE(form.mousePointer(), after);
    }

    void pointerWinsOverTheControlsOwn() {
        FakeWorld world;
        QtForm1 form(world.services(), world.dialogs());
        auto* textBox = form.findChild<QWidget*>(QStringLiteral("txtExcelFile"));
        auto* list = form.findChild<QListWidget*>(QStringLiteral("List1"));
        QCOMPARE(textBox->cursor().shape(), Qt::IBeamCursor);

        form.setMousePointer(11);
        QCOMPARE(textBox->cursor().shape(), Qt::WaitCursor);
        QCOMPARE(list->viewport()->cursor().shape(), Qt::WaitCursor);
        QCOMPARE(form.cursor().shape(), Qt::WaitCursor);

        // No pointer file beside the program: the custom pointer is the arrow.
        form.setMousePointer(99);
        QCOMPARE(textBox->cursor().shape(), Qt::ArrowCursor);

        form.setMousePointer(0);
        QCOMPARE(textBox->cursor().shape(), Qt::IBeamCursor);
        QCOMPARE(form.cursor().shape(), Qt::ArrowCursor);
    }

    void customPointerStaysOverCombo1() {
        FakeWorld world;
        QFile file(world.programFolder.filePath(QStringLiteral("HAND-M.CUR")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(pngCursorFile({3, 4}));
        file.close();
        QtForm1 form(world.services(), world.dialogs());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        moveOver(form, QStringLiteral("Check6"));
        QCOMPARE(form.mousePointer(), 99);
        moveOver(form, QStringLiteral("Combo1"));

        auto* combo = form.findChild<QWidget*>(QStringLiteral("Combo1"));
        QCOMPARE(form.mousePointer(), 99);
        QCOMPARE(combo->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(combo->cursor().hotSpot(), QPoint(3, 4));
    }
};

int runPointerTests(int argc, char** argv) {
    PointerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "PointerTest.moc"
