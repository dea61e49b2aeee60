#pragma once
#include <cstdint>
#include <string>

#include "platform/file_error.h"

// Why an unpack ended in DigestMismatch when it was not (only) the content:
// the first thing that went wrong on the way.
struct UnpackFailure {
  enum class Cause {
    None,                // nothing failed: the content itself did not match
    NotCreated,          // `path` could not be created (`fileError`)
    NotWritten,          // a write to `path` failed (`fileError`)
    NotMoved,            // the verified `path` could not replace `target` (`fileError`)
    SevenZipNotStarted,  // on chunk `chunk`
    SevenZipFailed,      // on chunk `chunk`, ending with `exitCode`
  };
  Cause cause = Cause::None;
  std::string path;
  std::string target;
  FileError fileError = FileError::None;
  std::int32_t chunk = 0;  // counted from 1
  int exitCode = 0;
};

// One line of plain English for standard error, e.g.
// "could not write D:\x\a.NPK.part: disk full"; empty for Cause::None.
std::string DescribeFailure(const UnpackFailure& failure);
