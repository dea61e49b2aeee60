#pragma once
// The password of the configuration file that ships with Pellory. The build
// reads it from here to seal the file, so it is written nowhere else.
inline constexpr char kConfigPassword[] = "Tavu803927516";
