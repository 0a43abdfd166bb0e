// The Qt face's button: a press toggles its value and raises Click once;
// setting the value raises nothing.
#include "app/qt/CheckButton.h"

#include <QSignalSpy>
#include <QTest>

class CheckButtonTest : public QObject {
    Q_OBJECT

private slots:
    void pressTogglesThenClicks_data() {
        QTest::addColumn<bool>("spaceBar");
        QTest::newRow("mouse click") << false;
        QTest::newRow("space bar") << true;
    }
    void pressTogglesThenClicks() {
        QFETCH(bool, spaceBar);
        CheckButton button(QStringLiteral("Go"));
        QList<int> valuesAtClick;
        connect(&button, &CheckButton::Click, &button,
                [&] { valuesAtClick.append(button.value()); });
        if (spaceBar)
            QTest::keyClick(&button, Qt::Key_Space);
        else
            QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(valuesAtClick, QList<int>{1});
        button.setValue(0);
        QCOMPARE(valuesAtClick, QList<int>{1});
        QVERIFY(!button.isChecked());
    }
};

int runCheckButtonTests(int argc, char** argv) {
    CheckButtonTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "CheckButtonTest.moc"
