// Runs every test class of the Qt window in one process and fails when any fails.
#include <QApplication>
#include <QStandardPaths>

int runCheckButtonTests(int argc, char** argv);
int runCursorFileTests(int argc, char** argv);
int runForm1Tests(int argc, char** argv);
int runInputPauseTests(int argc, char** argv);
int runPointerTests(int argc, char** argv);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);

    int failures = 0;
    for (auto run : {runCheckButtonTests, runCursorFileTests, runForm1Tests, runInputPauseTests,
                     runPointerTests})
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
