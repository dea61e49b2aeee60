#pragma once
// Identifiers shared by Pellory's resource script and its code.
#define IDI_PELLORY 1
