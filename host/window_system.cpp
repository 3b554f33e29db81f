// The application's requests, passed to the host in use.
#include "host/window_system.h"

#include "host/host_state.h"

WindowSize CurrentWindowSize() {
    return windowSystem->size();
}

void RequestFullScreen() {
    windowSystem->fullScreen();
}

void RequestWindowSize(int width, int height) {
    windowSystem->resize(width, height);
}

void HidePointer() {
    windowSystem->hidePointer();
}

bool WindowReadsInput() {
    return windowSystem->readsInput != 0;
}

int CurrentTextScale() {
    return hostOptions.textScale > 0 ? hostOptions.textScale : windowSystem->textScale();
}
