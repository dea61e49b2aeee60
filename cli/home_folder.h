#pragma once
// --home: the folder that holds File_Cfg.ini, lst_file and Download.
#include <string>

namespace CLI {
class App;
}

// Adds --home to `command`; `home` keeps the program's folder unless given.
void AddHomeOption(CLI::App& command, std::string& home);
