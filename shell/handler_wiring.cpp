#include "shell/handler_wiring.h"

#include "cleaner/cleaner_handlers.h"

void WireHandlers(Window& window, ProgramState& state) { WireCleanerHandlers(window, state.Cleaner); }

// The patch-cleaning page shows nothing from files at start. The download
// page's region list, read from the configuration file, belongs here.
void RunWindowCreatedHandlers(Window&, ProgramState&) {}
