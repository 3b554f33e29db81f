// Linked into the sanitized build only (make sanitize), in place of glutInit through the linker's
// --wrap: glutInit, then a leak check at exit that runs before freeglut's own exit handler.
//
// freeglut registers that handler inside glutInit, so it runs before the leak checker's. It closes
// the display, and Mesa then unloads its software driver: the allocations the driver still holds
// would be reported as leaks, from an unloaded module whose frames no suppression can name. Checked
// here instead, with the window, the context and the driver still alive, a leak is memory that
// nothing reaches any more, exactly as it would be for a program that ended at that moment.
#include <sanitizer/lsan_interface.h>

#include <cstdlib>

extern "C" {
void __real_glutInit(int* argc, char** argv);

void __wrap_glutInit(int* argc, char** argv) {
    __real_glutInit(argc, argv);
    // Handlers run in the reverse order of registration, so this one comes before freeglut's.
    std::atexit([] { __lsan_do_leak_check(); });
}
}
