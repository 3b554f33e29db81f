// An application for the host's failure paths: the hook that the environment variable
// WISPRA_TEST_FAIL_AT names ("PreInit" or "Init") returns false; otherwise one frame is asked for
// and refused, which ends the program through QuitProgram.
#include <cstdlib>
#include <cstring>

#include "host/app.h"
#include "program/program.h"

namespace {
bool FailsAt(const char* hook) {
    const char* at = std::getenv("WISPRA_TEST_FAIL_AT");
    return at != nullptr && std::strcmp(at, hook) == 0;
}
}  // namespace

bool PreInit() {
    return !FailsAt("PreInit");
}

const char* WindowTitle() {
    return "Failing";
}

bool Init() {
    return !FailsAt("Init");
}

bool Frame() {
    return false;
}

void Shutdown() {}

int main(int argc, char** argv) {
    return RunProgram(argc, argv);
}
