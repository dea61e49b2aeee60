#pragma once
#include "cleaner_state.h"
#include "window.h"

// Gives the first page's controls their handlers.
void WireCleanerHandlers(Window& window, CleanerState& state);
