// The entire-row option: read from its stored text at start-up, written on
// every click of Check7.
#include "TestSupport.h"

#include "app/Form1.h"
#include "app/LeadingNumber.h"

#include <QCheckBox>
#include <QTest>

class EntireRowTest : public SandboxedTest {
    Q_OBJECT

private slots:
    void init() { SettingsSandbox::clear(); }

    void leadingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        QTest::newRow("plain") << "1" << 1.0;
        QTest::newRow("leading blanks") << " \t 1" << 1.0;
        QTest::newRow("trailing letters") << "1abc" << 1.0;
        QTest::newRow("fraction") << "1.0" << 1.0;
        QTest::newRow("point only after") << "1." << 1.0;
        QTest::newRow("point first") << ".5x" << 0.5;
        QTest::newRow("exponent") << "2e1x" << 20.0;
        QTest::newRow("signed exponent") << "10E-1" << 1.0;
        QTest::newRow("exponent without digits") << "1e" << 1.0;
        QTest::newRow("plus sign") << "+1" << 1.0;
        QTest::newRow("minus sign") << "-1" << -1.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("word") << "abc" << 0.0;
        QTest::newRow("sign alone") << "-x" << 0.0;
        QTest::newRow("point alone") << "." << 0.0;
        QTest::newRow("blank inside the number ends it") << "1 2" << 1.0;
    }
    void leadingNumber() {
        QFETCH(QString, text);
        QFETCH(double, number);
        QCOMPARE(::leadingNumber(text), number);
    }

    void restoredAtStartUp_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<QString>("storedAfter");
        QTest::newRow("1") << "1" << true << "1";
        QTest::newRow("1.0 is rewritten") << "1.0" << true << "1";
        QTest::newRow("blank then 1") << " 1" << true << "1";
        QTest::newRow("1abc") << "1abc" << true << "1";
        QTest::newRow("0") << "0" << false << "0";
        QTest::newRow("empty") << "" << false << "";
        QTest::newRow("abc stays") << "abc" << false << "abc";
        QTest::newRow("2") << "2" << false << "2";
        QTest::newRow("-1") << "-1" << false << "-1";
    }
    void restoredAtStartUp() {
        QFETCH(QString, stored);
        QFETCH(bool, ticked);
        QFETCH(QString, storedAfter);
        SettingsSandbox::storeEntireRow(stored);
        FakeWorld world;

        Form1 form(world.services());

        QCOMPARE(form.findChild<QCheckBox*>(QStringLiteral("Check7"))->isChecked(), ticked);
        QCOMPARE(world.writes, ticked ? 1 : 0);
        QCOMPARE(SettingsSandbox::storedEntireRow().toString(), storedAfter);
    }

    void missingEntryStartsUntickedAndIsNotCreated() {
        FakeWorld world;
        Form1 form(world.services());
        QVERIFY(!form.findChild<QCheckBox*>(QStringLiteral("Check7"))->isChecked());
        QCOMPARE(world.writes, 0);
        QVERIFY(!SettingsSandbox::storedEntireRow().isValid());
    }

    void everyClickWrites() {
        SettingsSandbox::storeEntireRow(QStringLiteral("abc"));
        FakeWorld world;
        Form1 form(world.services());
        auto* check7 = form.findChild<QCheckBox*>(QStringLiteral("Check7"));

        QTest::mouseClick(check7, Qt::LeftButton);
        QCOMPARE(SettingsSandbox::storedEntireRow().toString(), QStringLiteral("1"));
        QTest::mouseClick(check7, Qt::LeftButton);
        QCOMPARE(SettingsSandbox::storedEntireRow().toString(), QStringLiteral("0"));
        QCOMPARE(world.writes, 2);
    }
};

int runEntireRowTests(int argc, char** argv) {
    EntireRowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "EntireRowTest.moc"
