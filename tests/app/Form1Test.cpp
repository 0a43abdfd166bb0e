// The Qt face: its controls as the layout table makes them, its dialogs, and
// its events reaching the window's logic.
#include "TestSupport.h"

#include "app/Form1Layout.h"
#include "app/qt/WorkbookFileDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <fstream>

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
        QtForm1 form(world.services(), world.dialogs());
        QCOMPARE(form.windowTitle(), QStringLiteral("Vantrelo"));
        const auto* combo = control<QComboBox>(form, "Combo1");
        QCOMPARE(combo->currentText(), QStringLiteral("Yellow"));
        QCOMPARE(texts(combo), (QStringList{"Yellow", "Red", "Blue", "Green"}));
        QCOMPARE(form.mousePointer(), 0);
        // The window's icon is the highlighter of its buttons and of the menu.
        QCOMPARE(form.windowIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32),
                 QImage(QStringLiteral(":/pictures/highlighter.xpm"))
                     .convertToFormat(QImage::Format_ARGB32));
        QCOMPARE(control<QProgressBar>(form, "ProgressBar1")->palette().color(QPalette::Base),
                 QColor(Qt::white));
    }

    // Every control of the table, made as its kind, with its caption, font
    // and place at 96 DPI.
    void controlsFollowTheLayoutTable() {
        FakeWorld world;
        QtForm1 form(world.services(), world.dialogs());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.logicalDpiX(), 96);
        QCOMPARE(form.font().weight(), QFont::Bold);
        for (const Form1Layout::Place& place : Form1Layout::places) {
            const QString name =
                QString::fromUtf8(place.name.data(), static_cast<qsizetype>(place.name.size()));
            const QString caption = QString::fromUtf8(place.caption.data(),
                                                      static_cast<qsizetype>(place.caption.size()));
            const Form1Layout::Pixels box = Form1Layout::toPixels(place.box, 96);
            const QRect expected(box.left, box.top, box.width, box.height);
            QWidget* found = nullptr;
            for (QWidget* candidate : form.findChildren<QWidget*>(name)) {
                const QVariant text =
                    candidate->property(place.kind == Form1Layout::Kind::Frame ? "title" : "text");
                if (caption.isEmpty() || text.toString() == caption)
                    found = candidate;
            }
            QVERIFY2(found, qPrintable(name));
            // Labels may reach into the gap after them rather than cut text.
            QCOMPARE(found->geometry().topLeft(), expected.topLeft());
            QCOMPARE(found->height(), expected.height());
            QVERIFY2(found->width() >= expected.width(), qPrintable(name));
            QCOMPARE(found->parentWidget() == &form, !place.inFrame);
            const double points =
                place.ownFontPoints > 0 ? place.ownFontPoints : Form1Layout::windowFontPoints;
            QCOMPARE(found->font().pointSizeF(), points);
            QCOMPARE(found->font().weight(), QFont::Bold);
        }
    }

    // Each control's events reach the window's logic: the lists' buttons,
    // the file button and the option, whose text lands in the settings store.
    void eventsReachTheWindowsLogic() {
        FakeWorld world;
        world.dialogAnswers = {QStringLiteral("/data/sales 2024.xlsx")};
        QtForm1 form(world.services(), world.dialogs());
        auto* list = control<QListWidget>(form, "List1");
        list->addItems({"a", "b", "c"});
        QTest::mouseClick(control(form, "Check1"), Qt::LeftButton);
        QCOMPARE(selectedCount(list), 3);
        QTest::keyClick(control(form, "Check3"), Qt::Key_Space);
        QCOMPARE(selectedCount(list), 0);
        QCOMPARE(control<QAbstractButton>(form, "Check3")->isChecked(), false);

        control<QLineEdit>(form, "txtExcelFile")->setText(QStringLiteral("/old/book.xls"));
        QTest::mouseClick(control(form, "Check4"), Qt::LeftButton);
        QCOMPARE(world.dialogPaths, QStringList{QStringLiteral("/old/book.xls")});
        QCOMPARE(control<QLineEdit>(form, "txtExcelFile")->text(),
                 QStringLiteral("/data/sales 2024.xlsx"));

        QTest::mouseClick(control(form, "Check7"), Qt::LeftButton);
        QCOMPARE(SettingsSandbox::storedEntireRow().toString(), QStringLiteral("1"));
        // Restored by the next window.
        QtForm1 next(world.services(), world.dialogs());
        QVERIFY(control<QCheckBox>(next, "Check7")->isChecked());
        QTest::mouseClick(control(next, "Check7"), Qt::LeftButton);
        QCOMPARE(SettingsSandbox::storedEntireRow().toString(), QStringLiteral("0"));
    }

    // An action runs away from the window's thread, which goes on with its
    // events meanwhile; the bar fills before it empties.
    void actionRunsWhileTheWindowKeepsItsEvents() {
        FakeWorld world;
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("book.xlsx"));
        std::ofstream(path.toStdString()) << "stands for a workbook";
        memory_sheet::Book book;
        book.sheets.push_back({"Data", {}});
        book.sheets.back().place(1, 1, {{"Name"}, {"Ann"}, {"Ann"}});
        world.memory.files[path.toStdString()] = book;
        std::atomic<bool> released = false;
        world.memory.onCall = [&released](const std::string& call) {
            if (call == "readTexts")
                memory_sheet::HoldCall([&released] { return released.load(); });
        };
        QtForm1 form(world.services(), world.dialogs());
        control<QLineEdit>(form, "txtExcelFile")->setText(path);
        control<QLineEdit>(form, "txtSelection")->setText(QStringLiteral("Data!$A$1:$A$3"));
        control<QListWidget>(form, "List1")->addItem(QStringLiteral("Name"));
        control<QListWidget>(form, "List1")->item(0)->setSelected(true);
        QSignalSpy bar(control<QProgressBar>(form, "ProgressBar1"), &QProgressBar::valueChanged);
        QTimer::singleShot(50, [&released] { released = true; });
        QTest::mouseClick(control(form, "Check6"), Qt::LeftButton);
        QVERIFY(released);
        QVERIFY(bar.contains(QVariantList{100}));
        QCOMPARE(control<QProgressBar>(form, "ProgressBar1")->value(), 0);
        QCOMPARE(world.memory.record().handedOver, 1);
        QVERIFY(world.messages.isEmpty());
    }

    // Closed from the title bar while the office is frozen: the action ends,
    // then the window.
    void closingDuringAnActionEndsItThenTheWindow() {
        FakeWorld world;
        QtForm1 form(world.services(), world.dialogs());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        world.memory.onCall = [&form](const std::string& call) {
            if (call != "openWorkbook")
                return;
            QMetaObject::invokeMethod(
                &form,
                [&form] {
                    QCloseEvent close;
                    QCoreApplication::sendEvent(form.windowHandle(), &close);
                },
                Qt::QueuedConnection);
            memory_sheet::HoldCall([] { return false; });
        };
        control<QLineEdit>(form, "txtExcelFile")->setText(QStringLiteral("/some/book.xlsx"));
        QTest::mouseClick(control(form, "Check6"), Qt::LeftButton);
        QVERIFY(form.isVisible());
        QTRY_VERIFY(!form.isVisible());
        QVERIFY(world.messages.isEmpty());
        QCOMPARE(world.memory.record().closed, world.memory.record().opened);
    }

    // A box only as wide as "Excel not found" had its title cut to "V… o".
    void messageBoxLeavesRoomForItsTitle() {
        int width = 0;
        QTimer::singleShot(0, [&width] {
            QWidget* box = QApplication::activeModalWidget();
            width = box->width();
            box->close();
        });
        QtDialogs::desktop().showMessage(nullptr, QStringLiteral("Vantrelo"),
                                         QStringLiteral("Excel not found"));
        QVERIFY2(width >= 250, qPrintable(QString::number(width)));
    }

    void closingWithNoActionClosesAtOnce() {
        FakeWorld world;
        QtForm1 form(world.services(), world.dialogs());
        form.show();
        QVERIFY(form.close());
        QVERIFY(!form.isVisible());
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

    void fixedSizeWithoutMaximiseBox() {
        FakeWorld world;
        QtForm1 form(world.services(), world.dialogs());
        QCOMPARE(form.size(), QSize(453, 382));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(form.windowFlags() & Qt::WindowCloseButtonHint);
    }

    void centredOnThePrimaryScreen() {
        FakeWorld world;
        QtForm1 form(world.services(), world.dialogs());
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
        QtForm1 form(world.services(), world.dialogs());
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
