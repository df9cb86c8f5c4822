// Blobsmith's entry: everything happens in program_main, which ends the process.
#include "app/program.h"

int main() {
    program_main();
}
