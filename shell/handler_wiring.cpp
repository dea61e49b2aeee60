#include "shell/handler_wiring.h"

#include "cleaner/cleaner_handlers.h"
#include "downloader/browse_handlers.h"
#include "downloader/download_handlers.h"

void WireHandlers(Window& window, ProgramState& state) {
  WireCleanerHandlers(window, state.Cleaner);
  WireBrowseHandlers(window, state.Downloader);
  WireDownloadHandlers(window, state.Downloader);
}

// Runs after the skin is attached, before the user can act: the patch-cleaning
// page shows nothing from files at start; the download page offers its regions.
void RunWindowCreatedHandlers(Window& window, ProgramState& state) { FillRegionList(window, state.Downloader); }
