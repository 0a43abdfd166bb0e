#include "cli/Utf8Main.h"

int main(int argc, char** argv) {
    return cli::Utf8Main(argc, argv);
}
