#include "unpacker/unpack_failure.h"

std::string DescribeFailure(const UnpackFailure& failure) {
  const std::string reason = ": " + FileErrorText(failure.fileError);
  const std::string onChunk = " on chunk " + std::to_string(failure.chunk);
  switch (failure.cause) {
    case UnpackFailure::Cause::None: return {};
    case UnpackFailure::Cause::NotCreated: return "could not create " + failure.path + reason;
    case UnpackFailure::Cause::NotWritten: return "could not write " + failure.path + reason;
    case UnpackFailure::Cause::NotMoved: return "could not move " + failure.path + " to " + failure.target + reason;
    case UnpackFailure::Cause::SevenZipNotStarted: return "7-Zip could not be started" + onChunk;
    case UnpackFailure::Cause::SevenZipFailed:
      return "7-Zip ended with exit code " + std::to_string(failure.exitCode) + onChunk;
  }
  return {};
}
