// The button rule: a press runs its action once, and the button is back up
// before the action starts.
#include "TestSupport.h"

#include "app/CheckButton.h"
#include "app/Form1.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

class CheckButtonTest : public SandboxedTest {
    Q_OBJECT

    enum class Press { Mouse, SpaceBar };

    static void press(CheckButton* button, Press how) {
        if (how == Press::Mouse)
            QTest::mouseClick(button, Qt::LeftButton);
        else
            QTest::keyClick(button, Qt::Key_Space);
    }

    static void addPressRows() {
        QTest::addColumn<Press>("how");
        QTest::newRow("mouse click") << Press::Mouse;
        QTest::newRow("space bar") << Press::SpaceBar;
    }

private slots:
    void pressRunsTheActionOnceWithTheButtonUp_data() { addPressRows(); }
    void pressRunsTheActionOnceWithTheButtonUp() {
        QFETCH(Press, how);
        CheckButton button(QStringLiteral("Go"));
        QSignalSpy clicks(&button, &CheckButton::Click);
        int actions = 0;
        int valueDuringAction = -1;
        connect(&button, &CheckButton::Click, &button, [&] {
            if (!button.takePress())
                return;
            ++actions;
            valueDuringAction = button.value();
        });

        press(&button, how);

        QCOMPARE(actions, 1);
        QCOMPARE(valueDuringAction, 0);
        QCOMPARE(button.value(), 0);
        QVERIFY(!button.isChecked());
        // The press raised Click, and so did the reset back to 0.
        QCOMPARE(clicks.count(), 2);
    }

    void formButtonRunsItsDialogOnce_data() { addPressRows(); }
    void formButtonRunsItsDialogOnce() {
        QFETCH(Press, how);
        FakeWorld world;
        Form1 form(world.services());
        auto* check4 = form.findChild<CheckButton*>(QStringLiteral("Check4"));
        int valueWhileDialogShows = -1;
        world.onDialog = [&] { valueWhileDialogShows = check4->value(); };
        world.dialogAnswers = {QStringLiteral("/data/book.xlsx")};

        press(check4, how);

        QCOMPARE(world.dialogCalls, 1);
        QCOMPARE(valueWhileDialogShows, 0);
        QCOMPARE(check4->value(), 0);
    }
};

int runCheckButtonTests(int argc, char** argv) {
    CheckButtonTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "CheckButtonTest.moc"
