// Checks the resources of Tarvex.exe as Windows reads them: icon groups 1 and 101 to 109 with the
// small and large pictures, the version block, and a manifest that leaves the code page alone.
//   resource_check PATH_TO_TARVEX_EXE
#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

namespace {

int failures = 0;

bool Check(bool ok, const std::wstring& what) {
  std::printf("%s: %ls\n", ok ? "ok" : "FAILED", what.c_str());
  failures += !ok;
  return ok;
}

std::string_view Resource(HMODULE module, int number, int type) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(number), MAKEINTRESOURCEW(type));
  if (!found) return {};
  return {static_cast<const char*>(LockResource(LoadResource(module, found))),
          SizeofResource(module, found)};
}

// An icon group's directory: a 6-byte header (its count at byte 4), then 14-byte entries that
// start with the picture's width and height.
bool GroupHasSizes(HMODULE module, int number) {
  const std::string_view group = Resource(module, number, 14);  // RT_GROUP_ICON
  bool small = false, large = false;
  const std::size_t count = group.size() >= 6 ? static_cast<BYTE>(group[4]) : 0;
  for (std::size_t at = 6; at < 6 + 14 * count && at + 2 <= group.size(); at += 14) {
    small |= group[at] == 16 && group[at + 1] == 16;
    large |= group[at] == 32 && group[at + 1] == 32;
  }
  return small && large;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  std::wstring path = argv[1];
  if (path.starts_with(L"/")) path = L"Z:" + path;  // a Unix path under Wine
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!Check(module != nullptr, L"opens " + path)) return 1;
  for (int number : {1, 101, 102, 103, 104, 105, 106, 107, 108, 109}) {
    Check(GroupHasSizes(module, number),
          L"icon group " + std::to_wstring(number) + L" with 16x16 and 32x32 pictures");
  }
  const std::string_view manifest = Resource(module, 1, 24);  // RT_MANIFEST
  const std::tuple<const char*, bool, const wchar_t*> parts[] = {
      {"Microsoft.Windows.Common-Controls", true, L"manifest: common controls 6"},
      {"PerMonitorV2", true, L"manifest: per-monitor DPI v2"},
      {"asInvoker", true, L"manifest: asInvoker"},
      {"activeCodePage", false, L"manifest: the ANSI code page stays the system's"}};
  for (const auto& [text, wanted, what] : parts)
    Check(!manifest.empty() && (manifest.find(text) != std::string_view::npos) == wanted, what);
  FreeLibrary(module);

  DWORD ignored = 0;
  std::vector<BYTE> version(GetFileVersionInfoSizeW(path.c_str(), &ignored));
  if (!Check(!version.empty() &&
                 GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(version.size()),
                                     version.data()),
             L"version block"))
    return 1;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  Check(VerQueryValueW(version.data(), L"\\", reinterpret_cast<void**>(&fixed), &size) &&
            fixed->dwFileVersionMS == MAKELONG(7, 0) && fixed->dwFileVersionLS == 0 &&
            fixed->dwProductVersionMS == MAKELONG(7, 0) && fixed->dwProductVersionLS == 0,
        L"fixed file and product version 0.7.0.0");
  const std::pair<const wchar_t*, const wchar_t*> strings[] = {{L"ProductName", L"Tarvex"},
                                                               {L"InternalName", L"Tarvex"},
                                                               {L"OriginalFilename", L"Tarvex.exe"},
                                                               {L"FileVersion", L"0.07"},
                                                               {L"ProductVersion", L"0.07"}};
  for (const auto& [name, expected] : strings) {
    wchar_t* value = nullptr;  // in US English, Unicode
    VerQueryValueW(version.data(), (std::wstring(L"\\StringFileInfo\\040904B0\\") + name).c_str(),
                   reinterpret_cast<void**>(&value), &size);
    Check(value && std::wstring_view(value) == expected, std::wstring(name) + L" = " + expected);
  }
  return failures == 0 ? 0 : 1;
}
