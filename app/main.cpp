#include "app/Startup.h"

// The command line is not passed on: the program reads none.
int main() {
    return ProgramMain();
}
