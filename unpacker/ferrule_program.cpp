#include "unpacker/ferrule_program.h"

#include "unpacker/container_unpacker.h"
#include "unpacker/ferrule_texts.h"
#include "platform/files.h"
#include "unpacker/output_place.h"

namespace {
void Report(ConsoleSink& console, const std::string& message) {
  console.Write(kLineEnd + message);
  console.Pause(kClosingPauseMs);
}
}  // namespace

int RunFerrule(const std::vector<std::string>& arguments, ConsoleSink& console, const SevenZipFinder& findSevenZip) {
  const FerruleTexts& texts = Texts();
  console.SetTitle(texts.title);
  console.Write(texts.banner);

  // A path whose name is no longer than its extension leaves nowhere to write
  // the unpacked file: that is a wrong command line as well.
  OutputPlace place = arguments.size() == 1 ? DeriveOutputPlace(arguments[0], PathSeparator()) : OutputPlace{};
  if (place.name.empty()) {
    Report(console, texts.usage);
    return 0;
  }

  std::unique_ptr<ChunkInflater> sevenZip = findSevenZip();
  if (!sevenZip) {
    console.Write(kLineEnd + texts.sevenZipBroken);
    return 0;
  }

  const std::string& spkPath = arguments[0];
  ContainerUnpacker unpacker(console, *sevenZip);
  switch (unpacker.Unpack(spkPath, place.name, place.directory)) {
    case Unpacked:
      RemoveFile(spkPath);
      Report(console, texts.unpacked);
      break;
    case NotRecognised: Report(console, texts.notRecognised); break;
    case DigestMismatch: Report(console, texts.digestMismatch); break;
  }
  return 0;
}
