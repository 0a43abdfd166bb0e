#include "cli/Main.h"
#include "app/qt/QtDesktop.h"
#include "app/qt/QtForm1.h"

#include <QApplication>

int main(int argc, char** argv) {
    // Any argument means the batch command, decided before Qt starts so that
    // it runs where there is no display.
    if (argc > 1) {
        return cli::Main(argc, argv, cli::MainOptions{.windowWithoutArguments = true});
    }
    QApplication application(argc, argv);
    QtForm1 form(DesktopServices());
    form.show();
    return application.exec();
}
