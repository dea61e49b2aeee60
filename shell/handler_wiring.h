#pragma once
#include "shell/program_state.h"
#include "shell/window.h"

// Gives every control whose handler exists its handler; the one place where
// the window meets the subsystems.
void WireHandlers(Window& window, ProgramState& state);

// The pages' part of the window's created event, in order, once the skin is
// attached and before the user can act: what each page shows at start.
void RunWindowCreatedHandlers(Window& window, ProgramState& state);
