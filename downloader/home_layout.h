#pragma once
// Where the second page's files lie below the program's folder (or the
// folder that pellory-cli's --home names): the configuration file with its
// section of regions, the folder of region list files, the download folder.
#include <string>

// The configuration's section that names each region and its list name.
inline constexpr char kListNameSection[] = "lst_name";

std::string ConfigFilePath(const std::string& home);
// The folder of region list files, found whatever the case of its name.
std::string RegionListFolder(const std::string& home);
// The region list file of `listName` in that folder.
std::string RegionListPath(const std::string& home, const std::string& listName);
std::string DownloadFolderPath(const std::string& home);

// Why `name` may not be one part of a path below a folder of ours: a name
// that holds a separator, a drive, or is "." or "..", would lead elsewhere.
// Empty when the name is fine. The reason is a GB18030 text.
std::string PathPartRefusal(const std::string& name);
