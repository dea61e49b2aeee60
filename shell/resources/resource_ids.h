#pragma once
// Identifiers shared by Pellory's resource script and its code.
#define IDI_PELLORY 1

// The skins are RCDATA 1 to 33, each under its own number; the skin library
// is RCDATA above them.
#define IDR_SKIN_LIBRARY 100
