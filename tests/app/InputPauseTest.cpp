// While an action works, the window paints but takes no input.
#include "app/qt/InputPause.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <QVBoxLayout>

class InputPauseTest : public QObject {
    Q_OBJECT

private slots:
    void inputIsSwallowedNotQueued() {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* button = new QPushButton("press", &window);
        auto* text = new QLineEdit(&window);
        layout->addWidget(button);
        layout->addWidget(text);
        QWidget outside; // another window stays usable
        auto* other = new QPushButton("other", &outside);
        int pressed = 0, otherPressed = 0;
        connect(button, &QPushButton::clicked, [&] { ++pressed; });
        connect(other, &QPushButton::clicked, [&] { ++otherPressed; });
        window.show();
        outside.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        {
            InputPause pause(&window);
            QTest::mouseClick(button, Qt::LeftButton);
            text->setFocus();
            QTest::keyClicks(text, "typed");
            QTest::mouseClick(other, Qt::LeftButton);
            pause.keepPainting();
            QCOMPARE(pressed, 0);
            QCOMPARE(text->text(), QString());
            QCOMPARE(otherPressed, 1);
        }
        QCoreApplication::processEvents();
        QCOMPARE(pressed, 0); // nothing was held back to arrive afterwards
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(pressed, 1);
    }

    // Closing is the one request heard during a pause: it is told at once,
    // once, and not carried out; a click on the window's own area is no close.
    void closeIsAskedButNotCarriedOut() {
        QWidget window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        int asked = 0;
        {
            InputPause pause(&window, [&asked] { ++asked; });
            QTest::mouseClick(&window, Qt::LeftButton);
            QCOMPARE(asked, 0);
            QVERIFY(!window.close());
            QVERIFY(!window.close());
            pause.keepPainting();
            QCOMPARE(asked, 1);
            QVERIFY(pause.closeAsked());
        }
        QCoreApplication::processEvents();
        QVERIFY(window.isVisible());
    }
};

int runInputPauseTests(int argc, char** argv) {
    InputPauseTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "InputPauseTest.moc"
