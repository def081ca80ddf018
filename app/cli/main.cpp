// quarvel-cli: drives maps, chip sets, pictures and the archive without a window.
#include "app/cli/commands.h"

int main(int argc, char** argv) {
    return quarvel::cli::RunCli(argc, argv);
}
