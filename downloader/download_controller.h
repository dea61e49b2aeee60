#pragma once
// The download controller's core, shared by the window's handlers and by
// pellory-cli: where an archive or a region list file comes from and where
// it goes, the settings of every download, and how its end is judged. Only
// a file test decides whether a download succeeded.
#include <functional>
#include <string>

#include "downloader/download_engine.h"

// Starts the unpacker on a downloaded SPK file and waits for its end.
using UnpackerRun = std::function<void(const std::string& spkPath)>;
// The unpacker program that lies in `folder`, started hidden.
UnpackerRun UnpackerBeside(const std::string& folder);

// The download folder below the program's folder, and a region's folder in it.
std::string DownloadFolder(const std::string& runDirectory);
std::string RegionFolder(const std::string& runDirectory, const std::string& region);

// One archive: the address built from the region's base address, the
// folder's name and the archive's name, and the files it becomes.
struct ArchiveDownload {
  std::string Url;           // base + folder + "/" + name + ".spk"
  std::string FileName;      // the address after its last "/"
  std::string TargetPath;    // the SPK file the engine writes, in the region's folder
  std::string UnpackedPath;  // what the unpacker leaves beside it: the SPK's name less ".spk"
};

// Plans the download of `archiveName`; false, with the reason, when the
// region's or the archive's name can't be used as a part of a path.
bool PlanArchiveDownload(const std::string& runDirectory, const std::string& region, const std::string& baseUrl,
                         const std::string& folder, const std::string& archiveName, ArchiveDownload& plan,
                         std::string& refusal);
// Creates the download and region folders when missing, and removes an
// earlier SPK file and unpacked file of the same archive.
void PrepareArchiveTarget(const std::string& runDirectory, const std::string& region, const ArchiveDownload& plan);
// After the task's end: the unpacker runs on the SPK file; true when the
// unpacked file is there afterwards.
bool UnpackArchive(const ArchiveDownload& plan, const UnpackerRun& runUnpacker);

// One region list refresh. The new list arrives beside the old one and
// replaces it only when complete, so a failed refresh keeps the old list.
struct ListRefresh {
  std::string ListName;  // the region's list name in the configuration
  std::string Url;       // the key "lst" of the list's own section
  std::string ListPath;  // the list file in the list folder
  std::string NewPath;   // where the engine writes the new copy
};

// Reads the region's list name and the list's address from the
// configuration; false, with the reason, when the list name can't be used
// as a part of a path.
bool PlanListRefresh(const std::string& runDirectory, const std::string& region, ListRefresh& plan,
                     std::string& refusal);
// Removes what an earlier refresh may have left where the new copy goes.
void PrepareListTarget(const ListRefresh& plan);
// After the task's end: a new copy that arrived whole replaces the list
// file; true when it did.
bool ReplaceListFile(const ListRefresh& plan);

// The settings every download of the controller is started with, over the
// start-up defaults of `task`.
void SetDownloadSettings(DownloadTask& task);

// A number as the progress labels show it: rounded to two decimal places,
// halves away from zero, at most 13 significant digits, no trailing zeros.
std::string RoundedNumber(double value);
