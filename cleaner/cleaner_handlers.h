#pragma once
#include "cleaner/cleaner_state.h"
#include "shell/window.h"

// Gives the first page's controls their handlers.
void WireCleanerHandlers(Window& window, CleanerState& state);
