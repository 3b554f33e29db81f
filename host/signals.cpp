// Signals read as data, through signalfd.
#include "host/signals.h"

#include <sys/signalfd.h>
#include <unistd.h>

int ReadSignalsAsData(std::initializer_list<int> signals, sigset_t* before) {
    sigset_t taken;
    sigemptyset(&taken);
    for (const int signal : signals) sigaddset(&taken, signal);
    sigprocmask(SIG_BLOCK, &taken, before);
    return signalfd(-1, &taken, SFD_NONBLOCK | SFD_CLOEXEC);
}

int NextSignal(int descriptor) {
    signalfd_siginfo received{};
    if (read(descriptor, &received, sizeof received) != static_cast<ssize_t>(sizeof received))
        return 0;
    return static_cast<int>(received.ssi_signo);
}
