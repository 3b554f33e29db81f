// The program: the command line is answered or taken, the host chosen, and the run handed to it,
// once the standard streams are sure to exist.
#include "program/program.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "host/host.h"
#include "host/host_state.h"
#include "program/data_files.h"
#include "program/hosts.h"
#include "program/options.h"

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

// Writes `text` on standard output: 0, or kFailureStatus with one line on standard error when it
// cannot be written (a full disk, a closed pipe), so that a lost answer is not taken for success.
int PrintAnswer(const char* text) {
    if (std::fputs(text, stdout) >= 0 && std::fflush(stdout) == 0) return 0;
    std::fprintf(stderr, "wispra: cannot write to standard output: %s\n", std::strerror(errno));
    return kFailureStatus;
}
}  // namespace

int RunProgram(int argc, char** argv) {
    ReopenClosedStandardStreams();
    // Help, version and mistakes are answered before anything else happens.
    const ParsedOptions parsed = ParseOptions(argc, argv);
    switch (parsed.verdict) {
        case OptionsVerdict::kHelp:
            return PrintAnswer(UsageText());
        case OptionsVerdict::kVersion:
            return PrintAnswer(VersionLine());
        case OptionsVerdict::kBad:
            std::fprintf(stderr, "%s\n", parsed.complaint);
            return kUsageStatus;
        case OptionsVerdict::kRun:
            break;
    }
    hostOptions = parsed.options;
    dataFolders = InstalledDataFolders(ExecutableFolder());
    return RunHost(*ChooseHost(hostOptions).system);
}
