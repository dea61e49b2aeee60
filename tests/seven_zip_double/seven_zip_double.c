/* Stands in for 7-Zip's 7z.exe when Ferrule.exe is tested under Wine.
 *
 * It accepts only the command line Ferrule is meant to give 7-Zip,
 *   "<its own folder>\7z.exe" x "<its own folder>\file.tmp" -y
 * run in its own folder, and then leaves the chunk's content as "[Content]"
 * there, as the 7-Zip build Ferrule expects does. The unpacking itself is
 * done by the system's 7-Zip, which Wine can start as a Linux program.
 * Any other command line leaves no "[Content]", so the test sees it fail. */
#include <windows.h>
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

int wmain(void) {
  static wchar_t self[MAX_PATH], folder[MAX_PATH], program[MAX_PATH], packed[MAX_PATH], expected[MAX_PATH],
      current[MAX_PATH], content[MAX_PATH], marker[MAX_PATH], command[4 * MAX_PATH];
  const wchar_t* line = GetCommandLineW();
  GetModuleFileNameW(NULL, self, MAX_PATH);
  wcscpy(folder, self);
  *wcsrchr(folder, L'\\') = 0;

  line = TakeQuoted(line, program, MAX_PATH);
  if (!line || _wcsicmp(program, self) != 0 || wcsncmp(line, L" x ", 3) != 0) return Fail("7z double: unexpected program or verb\n");
  line = TakeQuoted(line + 3, packed, MAX_PATH);
  swprintf(expected, MAX_PATH, L"%ls\\file.tmp", folder);
  if (!line || _wcsicmp(packed, expected) != 0 || wcscmp(line, L" -y") != 0) return Fail("7z double: unexpected chunk path or switches\n");
  GetCurrentDirectoryW(MAX_PATH, current);
  if (_wcsicmp(current, folder) != 0) return Fail("7z double: not started in its own folder\n");

  UnixNameFunction unixName =
      (UnixNameFunction)(void*)GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name");
  if (!unixName) return Fail("7z double: not under Wine\n");
  swprintf(content, MAX_PATH, L"%ls\\[Content]", folder);
  swprintf(marker, MAX_PATH, L"%ls\\7z-double.done", folder);
  DeleteFileW(marker);
  char* unixPacked = unixName(packed);
  char* unixContent = unixName(content);
  char* unixMarker = unixName(marker);
  if (!unixPacked || !unixContent || !unixMarker) return Fail("7z double: no Unix names for its files\n");
  /* Wine does not wait for a Linux child, so the child leaves a marker when
     it is done and this program waits for that. */
  swprintf(command, 4 * MAX_PATH,
           L"Z:\\bin\\sh -c \"7zz x \\\"$1\\\" -so -y > \\\"$2\\\"; echo > \\\"$3\\\"\" sh \"%hs\" \"%hs\" \"%hs\"",
           unixPacked, unixContent, unixMarker);
  STARTUPINFOW startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  if (!CreateProcessW(NULL, command, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
    return Fail("7z double: system 7-Zip did not start\n");
  for (int waited = 0; GetFileAttributesW(marker) == INVALID_FILE_ATTRIBUTES; waited += 10) {
    if (waited > 120000) return Fail("7z double: system 7-Zip did not finish\n");
    Sleep(10);
  }
  DeleteFileW(marker);
  return 0;
}
