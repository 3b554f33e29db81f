// Program entry: everything happens in the host, once the standard streams are sure to exist.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "host/host.h"

namespace {
// A standard stream that whoever started the program closed (2>&-) would be taken by the next
// descriptor opened, the X connection say, and a warning would then be written into it. So each
// closed one is reopened on /dev/null before anything else opens a descriptor. Read-only: writing
// to it still fails as on the closed stream, so a lost answer to --help is still reported.
void ReopenClosedStandardStreams() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        // open takes the lowest free descriptor, which is this one: those below it are open.
        const int opened = open("/dev/null", O_RDONLY);
        if (opened > fd) {
            dup2(opened, fd);
            close(opened);
        }
    }
}
}  // namespace

int main(int argc, char** argv) {
    ReopenClosedStandardStreams();
    return RunHost(argc, argv);
}
