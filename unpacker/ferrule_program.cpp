#include "unpacker/ferrule_program.h"

#include "platform/files.h"
#include "platform/interruption.h"
#include "unpacker/container_unpacker.h"
#include "unpacker/ferrule_texts.h"
#include "unpacker/output_place.h"

namespace {
void Report(ConsoleSink& console, const std::string& message) {
  console.Write(kLineEnd + message);
  console.Pause(kClosingPauseMs);
}

// Standard output keeps its fixed message; the reason goes to standard error.
void ReportMismatch(ConsoleSink& console, const UnpackFailure& failure) {
  console.Write(kLineEnd + Texts().digestMismatch);
  const std::string reason = DescribeFailure(failure);
  if (!reason.empty()) console.WriteError(kLineEnd + std::string("ferrule: ") + reason);
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

  const std::string& spkPath = arguments[0];
  UnpackResult result;
  UnpackFailure failure;
  {
    // From here an interruption waits until what the run makes (the
    // temporary output, 7-Zip's folder) is gone again.
    InterruptionsDeferred deferred;
    std::unique_ptr<ChunkInflater> sevenZip = findSevenZip();
    if (!sevenZip) {
      console.Write(kLineEnd + texts.sevenZipBroken);
      return 0;
    }
    ContainerUnpacker unpacker(console, *sevenZip);
    result = unpacker.Unpack(spkPath, place.name, place.directory);
    failure = unpacker.Failure();
  }
  EndIfInterrupted();

  switch (result) {
    case Unpacked:
      RemoveFile(spkPath);
      Report(console, texts.unpacked);
      break;
    case NotRecognised: Report(console, texts.notRecognised); break;
    case DigestMismatch: ReportMismatch(console, failure); break;
  }
  return 0;
}
