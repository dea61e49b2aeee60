#pragma once
#include "shell/program_state.h"
#include "shell/window.h"

// Gives every control whose handler exists its handler; the one place where
// the window meets the subsystems.
void WireHandlers(Window& window, ProgramState& state);
