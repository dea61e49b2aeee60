#pragma once
// The second page's browsing: the region combo filled at start, the choice
// of a region and a folder, and the keyword filter over the folder's names.
#include "downloader/downloader_state.h"
#include "shell/window.h"

// Reads the region names from the configuration file and offers them in the
// region combo, in the file's order, none of them current. A missing or
// unreadable file leaves the combo empty and says nothing. Runs once, when
// the window has been created.
void FillRegionList(Window& window, DownloaderState& state);

// The region combo's choice: the region's base address and its archive
// names. Also run after the region's list file has been refreshed.
void OnRegionSelected(Window& window, DownloaderState& state);

// Reads the chosen region's list file into the archive names and shows the
// chosen folder's names. A region without a list name, or whose list file
// is missing or unreadable, gets empty lists.
void LoadRegionList(Window& window, DownloaderState& state);

// Shows all names of the chosen folder; with no folder chosen the list box
// stays as it is.
void ShowFolderList(Window& window, const DownloaderState& state);
// Shows the chosen folder's names that contain the keyword box's text.
void SearchKeyword(Window& window, const DownloaderState& state);
// Shows the whole folder again and empties the keyword box.
void ClearKeyword(Window& window, const DownloaderState& state);

// Gives the browsing controls their handlers.
void WireBrowseHandlers(Window& window, DownloaderState& state);
