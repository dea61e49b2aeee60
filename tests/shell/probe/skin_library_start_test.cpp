// Starts a copy of Pellory.exe in a run directory of its own and watches
// what it does there with its skin library: the first start writes it, a
// later start leaves whatever is there, and a file that is no usable
// library ends the program with an error box.
//   skin_library_start_test Pellory.exe SkinH_EL.dll skin_09.skn NO_SKIN_LIBRARY.dll
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "shell/win32/scoped_win.h"
#include "skin/skin_format.h"
#include "tests/shell/probe/window_probe.h"

namespace {
namespace fs = std::filesystem;

std::wstring programPath, builtLibraryPath, skinPath, noSkinLibraryPath;

std::vector<unsigned char> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Wine reports every file as archived, whatever was set; there the archive
// mark says nothing, and only the others are compared.
DWORD MarksThatCount(const fs::path& folder) {
  const fs::path probe = folder / L"marks.probe";
  WriteBytes(probe, {1});
  SetFileAttributesW(probe.c_str(), FILE_ATTRIBUTE_NORMAL);
  const bool archivedAnyway = GetFileAttributesW(probe.c_str()) & FILE_ATTRIBUTE_ARCHIVE;
  DeleteFileW(probe.c_str());
  return archivedAnyway ? ~static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE) : ~static_cast<DWORD>(0);
}

FILETIME LastWrite(const fs::path& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
  return data.ftLastWriteTime;
}

class SkinLibraryAtStart : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    run_ = fs::path(temp) / (L"pellory-skin-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                             std::to_wstring(GetTickCount64()));
    fs::create_directories(run_);
    marksThatCount_ = MarksThatCount(run_);
    fs::copy_file(programPath, run_ / L"Pellory.exe");
  }

  void TearDown() override {
    // A program that outlived its test would hold the display for the next.
    if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) TerminateProcess(process_.Get(), 1);
    process_ = ScopedHandle();
    std::error_code ignored;
    fs::remove_all(run_, ignored);
  }

  fs::path Library() const { return run_ / L"SkinH_EL.dll"; }
  // The library's attributes, as far as this system keeps them.
  DWORD LibraryMarks() const { return GetFileAttributesW(Library().c_str()) & marksThatCount_; }

  // Starts Pellory from another current folder than its own.
  void Start() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    const std::wstring program = (run_ / L"Pellory.exe").wstring();
    std::wstring commandLine = L"\"" + program + L"\"";
    const std::wstring elsewhere = run_.parent_path().wstring();
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               elsewhere.c_str(), &startup, &started));
    process_ = ScopedHandle(started.hProcess);
    CloseHandle(started.hThread);
    processId_ = started.dwProcessId;
  }

  // The exit code once the program has ended; the waiting has a limit.
  DWORD ExitCode() {
    EXPECT_EQ(WaitForSingleObject(process_.Get(), 15000), WAIT_OBJECT_0) << "Pellory did not end";
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.Get(), &code);
    return code;
  }

  // Starts Pellory, waits for its window and closes it again.
  void StartAndClose() {
    Start();
    HWND window = WaitForWindow(processId_, L"PelloryMainWindow", 30000);
    ASSERT_NE(window, nullptr) << "Pellory's window did not appear";
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(ExitCode(), 0u);
  }

  std::vector<std::wstring> RunDirectoryNames() const {
    std::vector<std::wstring> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(run_)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path run_;
  DWORD marksThatCount_ = 0;
  ScopedHandle process_;
  DWORD processId_ = 0;
};

TEST_F(SkinLibraryAtStart, TheFirstStartWritesTheHiddenLibraryAndDrawsTheWindowInSkin9) {
  Start();
  HWND window = WaitForWindow(processId_, L"PelloryMainWindow", 30000);
  ASSERT_NE(window, nullptr) << "Pellory's window did not appear";

  EXPECT_EQ(LibraryMarks(), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
  EXPECT_TRUE(ReadBytes(Library()) == ReadBytes(builtLibraryPath)) << "not the library that was built";
  EXPECT_EQ(RunDirectoryNames(), (std::vector<std::wstring>{L"Pellory.exe", L"SkinH_EL.dll"}));

  // Left of the tab control the window's own background shows.
  const std::optional<Skin> skin = ReadSkin(ReadBytes(skinPath));
  ASSERT_TRUE(skin);
  const SkinColour background = (*skin)[SkinPart::WindowBackground];
  POINT point{1, 300};
  ClientToScreen(window, &point);
  Sleep(500);  // time for the first paint
  const std::vector<COLORREF> pixel = ScreenPixels(RECT{point.x, point.y, point.x + 1, point.y + 1});
  ASSERT_EQ(pixel.size(), 1u);
  EXPECT_EQ(pixel[0], RGB(background.red, background.green, background.blue));

  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(ExitCode(), 0u);
}

TEST_F(SkinLibraryAtStart, ALaterStartFindsTheLibraryAndDoesNotWriteItAgain) {
  StartAndClose();
  const FILETIME written = LastWrite(Library());
  const std::vector<unsigned char> content = ReadBytes(Library());
  ASSERT_FALSE(content.empty());
  Sleep(50);  // a rewrite would carry a later time

  StartAndClose();

  const FILETIME after = LastWrite(Library());
  EXPECT_EQ(CompareFileTime(&written, &after), 0);
  EXPECT_TRUE(ReadBytes(Library()) == content);
  EXPECT_EQ(LibraryMarks(), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
}

// A library that is there, usable but not the one Pellory carries, stays
// exactly as it was: bytes, time and marks.
TEST_F(SkinLibraryAtStart, ALibraryThatIsThereIsNeverReplaced) {
  std::vector<unsigned char> changed = ReadBytes(builtLibraryPath);
  ASSERT_FALSE(changed.empty());
  changed.insert(changed.end(), 4096, 0x5A);  // bytes after the image change nothing it runs
  WriteBytes(Library(), changed);
  const DWORD attributes = GetFileAttributesW(Library().c_str());
  const FILETIME written = LastWrite(Library());

  StartAndClose();

  EXPECT_TRUE(ReadBytes(Library()) == changed);
  EXPECT_EQ(GetFileAttributesW(Library().c_str()), attributes);
  const FILETIME after = LastWrite(Library());
  EXPECT_EQ(CompareFileTime(&written, &after), 0);
}

TEST_F(SkinLibraryAtStart, AFileThatIsNoUsableLibraryEndsTheProgramWithAnErrorBox) {
  const std::string text = "SkinH_EL.dll, but a text file";
  const struct {
    const char* what;
    std::vector<unsigned char> content;
  } cases[] = {
      {"a text file", {text.begin(), text.end()}},
      {"a library without SkinH_AttachRes", ReadBytes(noSkinLibraryPath)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_FALSE(c.content.empty());
    WriteBytes(Library(), c.content);
    Start();
    HWND box = WaitForWindow(processId_, L"#32770", 30000);
    ASSERT_NE(box, nullptr) << "no message box appeared";

    wchar_t title[64] = {};
    GetWindowTextW(box, title, 64);
    EXPECT_EQ(std::wstring(title), L"错误");
    std::wstring message;
    for (const ProbedControl& control : ListControls(box))
      if (control.className == L"Static" && !control.text.empty()) message = control.text;
    EXPECT_EQ(Narrow(message), Narrow(L"无法加载皮肤库 SkinH_EL.dll 或其中没有函数 SkinH_AttachRes!"));
    EXPECT_EQ(WaitForWindow(processId_, L"PelloryMainWindow", 0), nullptr) << "the window showed";

    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(ExitCode(), static_cast<DWORD>(-1));
    EXPECT_TRUE(ReadBytes(Library()) == c.content) << "the file was replaced";
  }
}
}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 5) {
    fprintf(stderr, "usage: skin_library_start_test Pellory.exe SkinH_EL.dll skin_09.skn NO_SKIN_LIBRARY.dll\n");
    return 2;
  }
  programPath = WindowsPathOfArgument(argv[1]);
  builtLibraryPath = WindowsPathOfArgument(argv[2]);
  skinPath = WindowsPathOfArgument(argv[3]);
  noSkinLibraryPath = WindowsPathOfArgument(argv[4]);
  return RUN_ALL_TESTS();
}
