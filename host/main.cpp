// Program entry: everything happens in the host.
#include "host/host.h"

int main(int argc, char** argv) {
    return RunHost(argc, argv);
}
