/* Stands in for 7-Zip's 7z.exe when Ferrule.exe is tested under Wine.
 *
 * It accepts only the command line Ferrule is meant to give 7-Zip,
 *   "<its own folder>\7z.exe" x "<working directory>\file.tmp" -y
 * and then, like the 7-Zip build Ferrule expects, writes into its working
 * directory: the content of a single-stream chunk as "[Content]", every
 * entry of an archive chunk (zip or 7z) under the entry's own name. The
 * unpacking itself is done by the system's 7-Zip, which Wine can start as a
 * Linux program; its exit code becomes this program's. Any other command
 * line leaves nothing, so the test sees it fail.
 *
 * A chunk that starts with "sleep" stands for one that takes 7-Zip long:
 * the double leaves "7z-double.sleeping" beside itself and sleeps, so that
 * a test can interrupt Ferrule meanwhile. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

typedef char* (CDECL *UnixNameFunction)(LPCWSTR);

static int Fail(const char* why) {
  DWORD written;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), why, (DWORD)strlen(why), &written, NULL);
  return 2;
}

static const wchar_t* TakeQuoted(const wchar_t* at, wchar_t* out, size_t outSize) {
  size_t n = 0;
  if (*at != L'"') return NULL;
  for (++at; *at && *at != L'"'; ++at)
    if (n + 1 < outSize) out[n++] = *at;
  out[n] = 0;
  return *at == L'"' ? at + 1 : NULL;
}

static int StartsWith(const wchar_t* path, const char* text) {
  char start[16] = {0};
  DWORD got = 0;
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  if (file == INVALID_HANDLE_VALUE) return 0;
  ReadFile(file, start, (DWORD)strlen(text), &got, NULL);
  CloseHandle(file);
  return got == strlen(text) && memcmp(start, text, got) == 0;
}

static int SleepLong(const wchar_t* self) {
  wchar_t note[MAX_PATH];
  wcscpy(note, self);
  wcscpy(wcsrchr(note, L'\\') + 1, L"7z-double.sleeping");
  CloseHandle(CreateFileW(note, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
  Sleep(60000);
  return 0;
}

/* Whether the file starts like a zip or a 7z archive, which hold entries
   with names of their own rather than one stream. */
static int IsArchive(const wchar_t* path) {
  static const unsigned char zip[4] = {'P', 'K', 3, 4}, sevenZip[6] = {'7', 'z', 0xBC, 0xAF, 0x27, 0x1C};
  unsigned char start[6] = {0};
  DWORD got = 0;
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  if (file == INVALID_HANDLE_VALUE) return 0;
  ReadFile(file, start, sizeof start, &got, NULL);
  CloseHandle(file);
  return memcmp(start, zip, sizeof zip) == 0 || memcmp(start, sevenZip, sizeof sevenZip) == 0;
}

/* The exit code the Linux side wrote into the marker. */
static int ReadExitCode(const wchar_t* marker) {
  char text[16] = {0};
  DWORD got = 0;
  HANDLE file = CreateFileW(marker, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, NULL, OPEN_EXISTING, 0, NULL);
  if (file == INVALID_HANDLE_VALUE) return 2;
  ReadFile(file, text, sizeof text - 1, &got, NULL);
  CloseHandle(file);
  return atoi(text);
}

int wmain(void) {
  static wchar_t self[MAX_PATH], program[MAX_PATH], packed[MAX_PATH], expected[MAX_PATH], current[MAX_PATH],
      content[MAX_PATH], marker[MAX_PATH], command[4 * MAX_PATH];
  const wchar_t* line = GetCommandLineW();
  GetModuleFileNameW(NULL, self, MAX_PATH);
  GetCurrentDirectoryW(MAX_PATH, current);

  line = TakeQuoted(line, program, MAX_PATH);
  if (!line || _wcsicmp(program, self) != 0 || wcsncmp(line, L" x ", 3) != 0) return Fail("7z double: unexpected program or verb\n");
  line = TakeQuoted(line + 3, packed, MAX_PATH);
  swprintf(expected, MAX_PATH, L"%ls\\file.tmp", current);
  if (!line || _wcsicmp(packed, expected) != 0 || wcscmp(line, L" -y") != 0) return Fail("7z double: unexpected chunk path or switches\n");

  if (StartsWith(packed, "sleep")) return SleepLong(self);

  UnixNameFunction unixName =
      (UnixNameFunction)(void*)GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name");
  if (!unixName) return Fail("7z double: not under Wine\n");
  swprintf(content, MAX_PATH, L"%ls\\[Content]", current);
  swprintf(marker, MAX_PATH, L"%ls\\7z-double.done", current);
  DeleteFileW(marker);
  char* unixPacked = unixName(packed);
  char* unixCurrent = unixName(current);
  char* unixContent = unixName(content);
  char* unixMarker = unixName(marker);
  if (!unixPacked || !unixCurrent || !unixContent || !unixMarker) return Fail("7z double: no Unix names for its files\n");
  /* Wine does not wait for a Linux child, so the child leaves its exit code
     in a marker (written whole, then renamed) when it is done, and this
     program waits for that. */
  if (IsArchive(packed))
    swprintf(command, 4 * MAX_PATH,
             L"Z:\\bin\\sh -c \"7zz x \\\"$1\\\" -o\\\"$2\\\" -y >/dev/null; echo $? > \\\"$3.new\\\" && mv \\\"$3.new\\\" \\\"$3\\\"\" sh \"%hs\" \"%hs\" \"%hs\"",
             unixPacked, unixCurrent, unixMarker);
  else
    swprintf(command, 4 * MAX_PATH,
             L"Z:\\bin\\sh -c \"7zz x \\\"$1\\\" -so -y > \\\"$2\\\"; echo $? > \\\"$3.new\\\" && mv \\\"$3.new\\\" \\\"$3\\\"\" sh \"%hs\" \"%hs\" \"%hs\"",
             unixPacked, unixContent, unixMarker);
  STARTUPINFOW startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  if (!CreateProcessW(NULL, command, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
    return Fail("7z double: system 7-Zip did not start\n");
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  for (int waited = 0; GetFileAttributesW(marker) == INVALID_FILE_ATTRIBUTES; waited += 10) {
    if (waited > 120000) return Fail("7z double: system 7-Zip did not finish\n");
    Sleep(10);
  }
  int exitCode = ReadExitCode(marker);
  DeleteFileW(marker);
  return exitCode;
}
