// The program: the command line is answered or taken, the host chosen, and the run handed to it,
// once the standard streams are sure to exist.
#include "program/program.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/widths.h"
#include "host/host.h"
#include "host/host_state.h"
#include "program/data_files.h"
#include "program/hosts.h"
#include "program/options.h"
#include "program/settings_file.h"
#include "scene/scene_state.h"

namespace {
std::string savePath;  // the settings file --save writes at the end; written by RunProgram
std::vector<char*> commandLine;  // argv as the program got it, null-terminated; RunProgram

int SaveAtEnd() {
    return SaveSettingsFile(savePath, settings) ? 0 : kFailureStatus;
}

uint64_t TimeOfDayUs() {
    timeval now{};
    gettimeofday(&now, nullptr);
    return static_cast<uint64_t>(now.tv_sec) * 1000000u + static_cast<uint64_t>(now.tv_usec);
}
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
    // A reader that has gone (standard error into a closed pipe) loses the text, not the program:
    // the write fails, and --help still says so where it can.
    signal(SIGPIPE, SIG_IGN);
    commandLine.assign(argv, argv + argc);  // before the parse moves GLUT's options forward
    commandLine.push_back(nullptr);
    // Help, version and mistakes are answered before anything else happens.
    const ParsedOptions parsed = ParseOptions(argc, argv);
    switch (parsed.verdict) {
        case OptionsVerdict::kHelp:
            return PrintAnswer(UsageText().c_str());
        case OptionsVerdict::kVersion:
            return PrintAnswer(VersionLine());
        case OptionsVerdict::kBad:
            std::fprintf(stderr, "%s\n", parsed.complaint);
            return kUsageStatus;
        case OptionsVerdict::kRun:
            break;
    }
    // The settings file first, then the command line's look again over it: the command line wins.
    HostOptions host = parsed.options;
    LookOptions look = parsed.look;
    const std::string file =
        parsed.file.configPath != nullptr
            ? parsed.file.configPath
            : UserSettingsPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    if (parsed.file.save && file.empty()) {
        std::fprintf(stderr,
                     "wispra: --save has no settings file: neither XDG_CONFIG_HOME nor HOME is "
                     "set (--config=FILE names one)\n");
        return kUsageStatus;
    }
    if (!parsed.file.noConfig && !file.empty()) {
        const bool named = parsed.file.configPath != nullptr && !parsed.file.save;
        ReadSettingsFile(file, named, host, look);
        std::string expected;
        for (const GivenLook& given : parsed.given)
            GiveLook(given.name.c_str(), given.value, host, look, expected);
    }
    host.commandArgc = argc;
    host.commandArgv = commandLine.data();
    hostOptions = host;
    const WindowSystem& system = *ChooseHost(hostOptions, CurrentSession()).system;
    settingStarts = look.starts;
    FirstSeed = look.seed;
    if (FirstSeed == kSeedFromClock && system.distinctStarts)
        FirstSeed = SeedOfRun(TimeOfDayUs(), static_cast<uint32_t>(getpid()));
    if (parsed.file.save) {
        savePath = file;
        endOfRun = SaveAtEnd;
    }
    dataFolders = InstalledDataFolders(ExecutableFolder());
    return RunHost(system);
}

uint32_t SeedOfRun(uint64_t timeOfDayUs, uint32_t processId) {
    // A 64-bit mix (splitmix64's finaliser): runs a microsecond or one process id apart differ
    // in every bit.
    uint64_t mixed = timeOfDayUs ^ (static_cast<uint64_t>(processId) << 32);
    mixed = (mixed ^ (mixed >> 30)) * 0xbf58476d1ce4e5b9u;
    mixed = (mixed ^ (mixed >> 27)) * 0x94d049bb133111ebu;
    return Low32(mixed ^ (mixed >> 31));
}
