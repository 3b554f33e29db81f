// The host's globals, defined together. No initialisers: the start values have one home,
// ResetHostState, which sets them before the program entry runs (below) and again for every test
// that needs a fresh start.
#include "host/host_state.h"

const WindowSystem* windowSystem;
int WindowWidth;
int WindowHeight;
int HostFullScreen;
int WindowHidden;
int WindowOversize;
int QuitWhenUndrawn;
InputHandlers inputHandlers;
uint64_t UptimeMs;
uint32_t ElapsedMs;
int64_t CounterStart;
int64_t CounterFrequency;
int64_t NextFrameDue;
int HeapTrimPending;
uint64_t HeapTrimDueMs;
HostOptions hostOptions;
int (*endOfRun)();
std::vector<std::string> dataFolders;

void ResetHostState() {
    windowSystem = nullptr;
    WindowWidth = kStartWindowWidth;
    WindowHeight = kStartWindowHeight;
    HostFullScreen = 0;
    WindowHidden = 0;
    WindowOversize = 0;
    QuitWhenUndrawn = 0;
    inputHandlers = HostInputHandlers();
    UptimeMs = 0;
    ElapsedMs = 0;  // 0 until the first Display: Init sees 0
    CounterStart = 0;
    CounterFrequency = 0;
    NextFrameDue = 0;
    HeapTrimPending = 0;
    HeapTrimDueMs = 0;
    hostOptions = HostOptions();
    endOfRun = nullptr;
    dataFolders.clear();
}

namespace {
[[maybe_unused]] const bool hostStateStarted = (ResetHostState(), true);
}  // namespace
