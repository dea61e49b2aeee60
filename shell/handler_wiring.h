#pragma once
#include "program_state.h"
#include "window.h"

// Gives every control whose handler exists its handler; the one place where
// the window meets the subsystems.
void WireHandlers(Window& window, ProgramState& state);
