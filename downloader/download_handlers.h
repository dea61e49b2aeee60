#pragma once
// The second page's downloads: an archive double-clicked in the list box,
// the region's list file on the refresh button, the engine's events and the
// progress timer. The caption of 标签4 is the busy flag: a download starts
// only while it reads "空闲中!".
#include <string>

#include "downloader/downloader_state.h"
#include "shell/window.h"

// A double-click on an archive of the list box.
void OnArchiveDoubleClicked(Window& window, DownloaderState& state);
// The refresh button: a new copy of the chosen region's list file.
void UpdateRegionListFile(Window& window, DownloaderState& state);
// Folders, paths and earlier files of the download that DownloadPurpose
// names, then the task.
void PrepareDownload(Window& window, DownloaderState& state);
// Hands the task to the engine and starts the progress display.
void SubmitDownloadTask(Window& window, DownloaderState& state);
// The engine's event handler, on the engine's thread; always 0.
int OnDownloadEvent(Window& window, DownloaderState& state, int code, double value, const std::string& text);
// The progress timer: speed, bytes received and the progress bar.
void OnDownloadTimer(Window& window, DownloaderState& state);

// Gives the download controls their handlers.
void WireDownloadHandlers(Window& window, DownloaderState& state);
