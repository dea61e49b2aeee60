#pragma once
#include <string>

// Moves a file into the backup folder: a plain rename first; where that
// fails (another file of the name there, another drive), a copy that
// replaces the file there and then the removal of the source. Nothing
// changes when the copy fails too.
void MoveToBackup(const std::string& source, const std::string& destination);

// A file name as a scan found it: no folder part, so it cannot lead outside
// the folder it is joined to.
bool IsPlainFileName(const std::string& name);
