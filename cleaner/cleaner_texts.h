#pragma once
#include <string>

// Every text the patch-cleaning page shows, as GB18030 texts.
struct CleanerTexts {
  std::string warningTitle, hintTitle, congratulationsTitle;
  std::string chooseGameDirectoryPrompt, chooseBackupDirectoryPrompt, chooseFolderAgain;
  std::string listMissing, notAList, folderNotInList;
  std::string scanning, startScan;
  std::string foundBefore, foundAfter, nothingFound, hashingNotStarted;
  std::string noneTicked, cleaned, noBackupDirectory, backupIsScannedFolder, notCleanedBefore, notCleanedAfter;
  std::string imagePacks, soundPacks;

  static const CleanerTexts& Get();
};
