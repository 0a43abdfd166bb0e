// Form1's start-up state, its list and file buttons, and its layout.
#include "TestSupport.h"

#include "app/CheckButton.h"
#include "app/Form1.h"
#include "app/WorkbookFileDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QScreen>
#include <QTest>

namespace {

QStringList texts(const QComboBox* combo) {
    QStringList result;
    for (int i = 0; i < combo->count(); ++i)
        result.append(combo->itemText(i));
    return result;
}

int selectedCount(const QListWidget* list) {
    return static_cast<int>(list->selectedItems().size());
}

// Points HOME at another folder for as long as it lives.
class HomeFolder {
public:
    explicit HomeFolder(const QString& path) : previous_(qgetenv("HOME")) {
        qputenv("HOME", QFile::encodeName(path));
    }
    ~HomeFolder() { qputenv("HOME", previous_); }
    HomeFolder(const HomeFolder&) = delete;
    HomeFolder& operator=(const HomeFolder&) = delete;

private:
    QByteArray previous_;
};

} // namespace

class Form1Test : public SandboxedTest {
    Q_OBJECT

private slots:
    void startsNamedWithYellowChosen() {
        FakeWorld world;
        Form1 form(world.services());
        QCOMPARE(form.windowTitle(), QStringLiteral("Vantrelo"));
        const auto* combo = control<QComboBox>(form, "Combo1");
        QCOMPARE(combo->currentText(), QStringLiteral("Yellow"));
        QCOMPARE(combo->currentIndex(), 0);
        QCOMPARE(texts(combo), (QStringList{"Yellow", "Red", "Blue", "Green"}));
        QCOMPARE(form.mousePointer(), 0);
        // The window's icon is the highlighter of its buttons and of the menu.
        QCOMPARE(form.windowIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32),
                 QImage(QStringLiteral(":/pictures/highlighter.xpm"))
                     .convertToFormat(QImage::Format_ARGB32));
        QCOMPARE(control<QProgressBar>(form, "ProgressBar1")->palette().color(QPalette::Base),
                 QColor(Qt::white));
    }

    void selectAndUnselectAll_data() {
        QTest::addColumn<int>("entries");
        QTest::newRow("empty list") << 0;
        QTest::newRow("three entries") << 3;
    }
    void selectAndUnselectAll() {
        QFETCH(int, entries);
        FakeWorld world;
        Form1 form(world.services());
        auto* list = control<QListWidget>(form, "List1");
        for (int i = 0; i < entries; ++i)
            list->addItem(QStringLiteral("Column %1").arg(i));
        if (entries > 1)
            list->item(1)->setSelected(true);

        QTest::mouseClick(control(form, "Check1"), Qt::LeftButton);
        QCOMPARE(selectedCount(list), entries);
        QTest::mouseClick(control(form, "Check1"), Qt::LeftButton);
        QCOMPARE(selectedCount(list), entries);
        QTest::mouseClick(control(form, "Check3"), Qt::LeftButton);
        QCOMPARE(selectedCount(list), 0);
        QCOMPARE(list->count(), entries);
        if (entries > 2)
            QCOMPARE(list->item(2)->text(), QStringLiteral("Column 2"));
    }

    void workbookButtonPutsTheChosenPath_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("path");
        QTest::newRow("chosen") << "/data/sales 2024.xlsx"
                                << "/data/sales 2024.xlsx";
        QTest::newRow("cancelled") << ""
                                   << "/old/book.xls";
    }
    void workbookButtonPutsTheChosenPath() {
        QFETCH(QString, answer);
        QFETCH(QString, path);
        FakeWorld world;
        world.dialogAnswers = {answer};
        Form1 form(world.services());
        control<QLineEdit>(form, "txtExcelFile")->setText(QStringLiteral("/old/book.xls"));
        control<QLineEdit>(form, "txtSelection")->setText(QStringLiteral("Data!$A$1:$B$2"));
        control<QListWidget>(form, "List1")->addItem(QStringLiteral("Name"));

        QTest::mouseClick(control(form, "Check4"), Qt::LeftButton);

        QCOMPARE(world.dialogCalls, 1);
        QCOMPARE(world.dialogPaths, QStringList{QStringLiteral("/old/book.xls")});
        QCOMPARE(control<QLineEdit>(form, "txtExcelFile")->text(), path);
        QCOMPARE(control<QLineEdit>(form, "txtSelection")->text(),
                 QStringLiteral("Data!$A$1:$B$2"));
        QCOMPARE(control<QListWidget>(form, "List1")->count(), 1);
    }

    void workbookDialogOffersExcelFilesFirst() {
        QFileDialog dialog;
        configureWorkbookFileDialog(dialog);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Select Excel File"));
        QCOMPARE(dialog.nameFilters().size(), 2);
        QCOMPARE(dialog.selectedNameFilter(), QStringLiteral("All Excel Files (*.xl*)"));
        QVERIFY(dialog.nameFilters().at(1).contains(QLatin1String("*.ods")));
        // A typed name of a missing file is accepted.
        QCOMPARE(dialog.fileMode(), QFileDialog::AnyFile);
        QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptOpen);
    }

    void workbookDialogStartsNearTheGivenPath_data() {
        QTest::addColumn<QString>("given");
        QTest::addColumn<bool>("documentsFolder");
        QTest::addColumn<QString>("startFolder");
        QTest::newRow("a workbook") << "home/books/sales.xlsx" << true << "home/books";
        QTest::newRow("a missing file in a folder")
            << "home/books/new.xlsx" << true << "home/books";
        QTest::newRow("a folder") << "home/books" << true << "home/books";
        QTest::newRow("a folder that is gone") << "home/gone/a.xlsx" << true << "home/Documents";
        QTest::newRow("nothing given") << "" << true << "home/Documents";
        QTest::newRow("nothing given, no documents") << "" << false << "home";
    }
    void workbookDialogStartsNearTheGivenPath() {
        QFETCH(QString, given);
        QFETCH(bool, documentsFolder);
        QFETCH(QString, startFolder);
        QTemporaryDir scratch;
        const QDir root(scratch.path());
        QVERIFY(root.mkpath(QStringLiteral("home/books")));
        if (documentsFolder)
            QVERIFY(root.mkpath(QStringLiteral("home/Documents")));
        QFile workbook(root.filePath(QStringLiteral("home/books/sales.xlsx")));
        QVERIFY(workbook.open(QIODevice::WriteOnly));
        const HomeFolder home(root.filePath(QStringLiteral("home")));

        const QString path = given.isEmpty() ? given : root.filePath(given);
        QCOMPARE(QDir::cleanPath(workbookDialogStartFolder(path)),
                 QDir::cleanPath(root.filePath(startFolder)));
    }

    void fieldsUseTheWindowsFont_data() {
        QTest::addColumn<QString>("name");
        for (const char* name : {"txtExcelFile", "txtSelection", "List1", "Combo1", "Check7"})
            QTest::newRow(name) << name;
    }
    void fieldsUseTheWindowsFont() {
        QFETCH(QString, name);
        FakeWorld world;
        Form1 form(world.services());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.font().weight(), QFont::Bold);
        QCOMPARE(form.findChild<QWidget*>(name)->font(), form.font());
    }

    void layoutInPixelsAt96Dpi_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("Check4 at the right edge") << "Check4" << QRect(423, 8, 22, 22);
        QTest::newRow("txtSelection") << "txtSelection" << QRect(136, 40, 282, 22);
        QTest::newRow("Frame1") << "Frame1" << QRect(8, 72, 437, 137);
        QTest::newRow("List1 inside Frame1") << "List1" << QRect(9, 24, 416, 65);
        QTest::newRow("Check3 inside Frame1") << "Check3" << QRect(225, 96, 200, 27);
        QTest::newRow("Check5") << "Check5" << QRect(8, 243, 217, 96);
        QTest::newRow("ProgressBar1") << "ProgressBar1" << QRect(8, 347, 437, 25);
    }
    void layoutInPixelsAt96Dpi() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        FakeWorld world;
        Form1 form(world.services());
        QCOMPARE(form.logicalDpiX(), 96);
        QCOMPARE(form.findChild<QWidget*>(name)->geometry(), geometry);
    }

    void fixedSizeWithoutMaximiseBox() {
        FakeWorld world;
        Form1 form(world.services());
        QCOMPARE(form.size(), QSize(453, 382));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(form.windowFlags() & Qt::WindowCloseButtonHint);
    }

    void centredOnThePrimaryScreen() {
        FakeWorld world;
        Form1 form(world.services());
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(form.frameGeometry().center(), screen.center());

        // Placed again once shown, when a window manager has framed it: a
        // place taken before that does not last.
        form.move(0, 0);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTRY_COMPARE(form.frameGeometry().center(), screen.center());
    }

    void focusStartsOnThePathAndTabsInOrder() {
        FakeWorld world;
        Form1 form(world.services());
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTRY_COMPARE(QApplication::focusWidget(), control(form, "txtExcelFile"));

        const QStringList order = {"Check4", "txtSelection", "Check2",      "List1",
                                   "Check1", "Check3",       "Combo1",      "Check5",
                                   "Check6", "Check7",       "txtExcelFile"};
        QStringList seen;
        for (qsizetype i = 0; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            seen.append(QApplication::focusWidget()->objectName());
        }
        QCOMPARE(seen, order);
    }
};

int runForm1Tests(int argc, char** argv) {
    Form1Test test;
    return QTest::qExec(&test, argc, argv);
}

#include "Form1Test.moc"
