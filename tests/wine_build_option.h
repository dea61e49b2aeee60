#pragma once
// The end-to-end tests run the Linux programs of this build, or, given
// --wine-build=DIR, the Windows build in DIR under Wine.
#include <gtest/gtest.h>

#include <string>

// Runs the tests; `windowsBuild` gets DIR, or stays empty.
inline int RunTestsWithWineBuildOption(int argc, char** argv, std::string& windowsBuild) {
  ::testing::InitGoogleTest(&argc, argv);
  const std::string option = "--wine-build=";
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg.starts_with(option)) windowsBuild = arg.substr(option.size());
  }
  return RUN_ALL_TESTS();
}
