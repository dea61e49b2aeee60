#include "shell/handler_wiring.h"

#include "cleaner/cleaner_handlers.h"
#include "downloader/browse_handlers.h"

void WireHandlers(Window& window, ProgramState& state) {
  WireCleanerHandlers(window, state.Cleaner);
  WireBrowseHandlers(window, state.Downloader);
  // The window has just been created and the user can't act yet: the
  // region combo gets its regions now.
  FillRegionList(window, state.Downloader);
}
