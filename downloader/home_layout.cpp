#include "downloader/home_layout.h"

#include "platform/files.h"

std::string ConfigFilePath(const std::string& home) { return JoinPath(home, "File_Cfg.ini"); }

// The program's texts spell the folder "lst_file" and "lst_File"; on Windows
// both name one folder, and elsewhere either may be on disk.
std::string RegionListFolder(const std::string& home) { return FindFolderIgnoringCase(home, "lst_file"); }

std::string RegionListPath(const std::string& home, const std::string& listName) {
  return JoinPath(RegionListFolder(home), listName + ".lst");
}

std::string DownloadFolderPath(const std::string& home) { return JoinPath(home, "Download"); }
