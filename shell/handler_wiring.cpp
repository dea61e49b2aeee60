#include "shell/handler_wiring.h"

#include "cleaner/cleaner_handlers.h"

void WireHandlers(Window& window, ProgramState& state) { WireCleanerHandlers(window, state.Cleaner); }
