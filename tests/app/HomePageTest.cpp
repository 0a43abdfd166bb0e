// The one-in-a-hundred chance of opening the home page at start-up.
#include "TestSupport.h"

#include "app/Form1.h"
#include "app/HomePageChance.h"

#include <QComboBox>
#include <QTest>

class HomePageTest : public SandboxedTest {
    Q_OBJECT

private slots:
    void chanceNumber_data() {
        QTest::addColumn<double>("r");
        QTest::addColumn<int>("n");
        QTest::newRow("lowest draw") << 0.0 << 1;
        QTest::newRow("just below 7's range") << 0.0599 << 6;
        QTest::newRow("start of 7's range") << 0.06 << 7;
        QTest::newRow("end of 7's range") << 0.0699 << 7;
        QTest::newRow("past 7's range") << 0.07 << 8;
        QTest::newRow("highest draw") << 0.99999 << 100;
    }
    void chanceNumber() {
        QFETCH(double, r);
        QFETCH(int, n);
        QCOMPARE(::chanceNumber(r), n);
    }

    void opensOnlyOnSeven_data() {
        QTest::addColumn<double>("draw");
        QTest::addColumn<int>("opened");
        QTest::newRow("n = 1") << 0.0 << 0;
        QTest::newRow("n = 6") << 0.055 << 0;
        QTest::newRow("n = 7") << 0.065 << 1;
        QTest::newRow("n = 8") << 0.075 << 0;
        QTest::newRow("n = 100") << 0.995 << 0;
    }
    void opensOnlyOnSeven() {
        QFETCH(double, draw);
        QFETCH(int, opened);
        FakeWorld world;
        world.draw = draw;
        Form1 form(world.services());
        QCOMPARE(world.opened.size(), opened);
        if (opened)
            QCOMPARE(world.opened.constFirst(),
                     QUrl(QStringLiteral("https://kestravon.example/vantrelo")));
    }

    void opensBeforeTheWindowIsNamedAndFilled() {
        FakeWorld world;
        world.draw = 0.065;
        QStringList titles;
        QList<int> colourCounts;
        world.onOpen = [&] {
            const QList<QWidget*> windows = QApplication::topLevelWidgets();
            for (const QWidget* window : windows) {
                if (window->objectName() != QLatin1String("Form1"))
                    continue;
                titles.append(window->windowTitle());
                colourCounts.append(
                    window->findChild<QComboBox*>(QStringLiteral("Combo1"))->count());
            }
        };
        Form1 form(world.services());
        QCOMPARE(titles, QStringList{QString()});
        QCOMPARE(colourCounts, QList<int>{0});
        QCOMPARE(form.windowTitle(), QStringLiteral("Vantrelo"));
    }

    void seededDrawIsRepeatableAndInRange() {
        QCOMPARE(drawWithSeed(12345), drawWithSeed(12345));
        int sevens = 0;
        constexpr std::uint32_t secondsPerDay = 86400;
        for (std::uint32_t second = 0; second < secondsPerDay; ++second) {
            const double r = drawWithSeed(second);
            QVERIFY(r >= 0.0 && r < 1.0);
            if (::chanceNumber(r) == 7)
                ++sevens;
        }
        // About one start in a hundred, over every second of a day.
        QVERIFY2(sevens > 600 && sevens < 1100, qPrintable(QString::number(sevens)));
    }
};

int runHomePageTests(int argc, char** argv) {
    HomePageTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "HomePageTest.moc"
