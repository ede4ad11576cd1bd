// Checks the resources of Tarvex.exe as Windows reads them: icon groups 1 and 101 to 109 with the
// small and large pictures, the version block, and a manifest that leaves the code page alone.
//   resource_check PATH_TO_TARVEX_EXE
#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

int failures = 0;

void Check(bool ok, const char* what) {
  std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
  if (!ok) ++failures;
}

// An icon group's directory: how many pictures and whether 16x16 and 32x32 are among them.
#pragma pack(push, 2)
struct GroupHeader {
  WORD reserved, type, count;
};
struct GroupEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bits;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

bool GroupHasSizes(HMODULE module, int number) {
  HRSRC found =
      FindResourceW(module, MAKEINTRESOURCEW(number), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  if (!found) return false;
  const auto* header = static_cast<const GroupHeader*>(LockResource(LoadResource(module, found)));
  const auto* entries = reinterpret_cast<const GroupEntry*>(header + 1);
  bool small = false, large = false;
  for (WORD i = 0; i < header->count; ++i) {
    small |= entries[i].width == 16 && entries[i].height == 16;
    large |= entries[i].width == 32 && entries[i].height == 32;
  }
  return small && large;
}

std::wstring VersionString(const std::vector<BYTE>& block, const wchar_t* name) {
  struct Translation {
    WORD language, codePage;
  }* translations = nullptr;
  UINT size = 0;
  auto* data = const_cast<BYTE*>(block.data());
  if (!VerQueryValueW(data, L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                      &size) ||
      size < sizeof(Translation)) {
    return {};
  }
  wchar_t path[128];
  swprintf(path, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translations->language,
           translations->codePage, name);
  wchar_t* value = nullptr;
  if (!VerQueryValueW(data, path, reinterpret_cast<void**>(&value), &size)) return {};
  return value;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  std::wstring path = argv[1];
  if (!path.empty() && path[0] == L'/') path = L"Z:" + path;  // a Unix path under Wine

  HMODULE module = LoadLibraryExW(path.c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module) {
    std::printf("FAILED: cannot open %ls\n", path.c_str());
    return 1;
  }
  Check(GroupHasSizes(module, 1), "icon group 1 (application) with 16x16 and 32x32 pictures");
  for (int number = 101; number <= 109; ++number) {
    char what[64];
    std::snprintf(what, sizeof what, "icon group %d with 16x16 and 32x32 pictures", number);
    Check(GroupHasSizes(module, number), what);
  }

  HRSRC manifest = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
  Check(manifest != nullptr, "application manifest");
  if (manifest) {
    const std::string_view text(
        static_cast<const char*>(LockResource(LoadResource(module, manifest))),
        SizeofResource(module, manifest));
    Check(text.find("Microsoft.Windows.Common-Controls") != std::string_view::npos,
          "manifest: common controls 6");
    Check(text.find("PerMonitorV2") != std::string_view::npos, "manifest: per-monitor DPI v2");
    Check(text.find("asInvoker") != std::string_view::npos, "manifest: asInvoker");
    Check(text.find("activeCodePage") == std::string_view::npos,
          "manifest: the ANSI code page stays the system's");
  }
  FreeLibrary(module);

  DWORD ignored = 0;
  std::vector<BYTE> version(GetFileVersionInfoSizeW(path.c_str(), &ignored));
  Check(!version.empty() && GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(version.size()),
                                                version.data()),
        "version block");
  if (!version.empty()) {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    Check(VerQueryValueW(version.data(), L"\\", reinterpret_cast<void**>(&fixed), &size) &&
              fixed->dwFileVersionMS == MAKELONG(7, 0) && fixed->dwFileVersionLS == 0 &&
              fixed->dwProductVersionMS == MAKELONG(7, 0) && fixed->dwProductVersionLS == 0,
          "fixed file and product version 0.7.0.0");
    const struct {
      const wchar_t* name;
      const wchar_t* value;
    } strings[] = {{L"ProductName", L"Tarvex"},
                   {L"InternalName", L"Tarvex"},
                   {L"OriginalFilename", L"Tarvex.exe"},
                   {L"FileVersion", L"0.07"},
                   {L"ProductVersion", L"0.07"}};
    for (const auto& expected : strings) {
      const std::wstring value = VersionString(version, expected.name);
      char what[128];
      std::snprintf(what, sizeof what, "%ls = \"%ls\" (found \"%ls\")", expected.name,
                    expected.value, value.c_str());
      Check(value == expected.value, what);
    }
  }
  return failures == 0 ? 0 : 1;
}
