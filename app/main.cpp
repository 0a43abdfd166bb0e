#include "cli/Main.h"
#include "app/Form1.h"

#include <QApplication>

int main(int argc, char** argv) {
    // Any argument means the batch command, decided before Qt starts so that
    // it runs where there is no display.
    if (argc > 1) {
        return cli::Main(argc, argv, cli::MainOptions{.windowWithoutArguments = true});
    }
    QApplication application(argc, argv);
    Form1 form(Form1Services::desktop());
    form.show();
    return application.exec();
}
