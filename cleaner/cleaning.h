#pragma once
#include <string>

// Cleans one finding: deletes the file at `source`, or, when `destination`
// is not empty, moves it there: a plain rename first; where that fails
// (another file of the name there, another drive), a copy that replaces the
// file there and then the removal of the source. True when the file is no longer at
// `source`, also when it was already gone; false when it is still there
// (in use, or not allowed).
bool CleanFinding(const std::string& source, const std::string& destination);

// A file name as a scan found it: no folder part, so it cannot lead outside
// the folder it is joined to. (On Linux a backslash is part of a name.)
bool IsPlainFileName(const std::string& name);
