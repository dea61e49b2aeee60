#pragma once
// The 33 skins, carried in the program's resources as RCDATA 1 to 33, as
// Pellory carries them.
#include <vector>

// The bytes of skin `number`; empty when the program has none of that number.
std::vector<unsigned char> SkinResource(int number);
