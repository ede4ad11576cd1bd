// Unit tests of what the Win32 front-end itself does, run under Wine: the data files' code page,
// the game folder's short name and the program folder, the tray record, the popup menu, the dialog
// windows and the file look-up. The presenters' decisions are tested in
// shell/tests; starting the game and typing into it, the tray and one instance per session in
// desktop_test.sh.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "dialogs/frmAlarms.h"
#include "dialogs/frmAutoRun.h"
#include "dialogs/frmDateTime.h"
#include "engine/modGeneral.h"
#include "platform/startup.h"
#include "platform/win32/dialog_window.h"
#include "platform/win32/menu.h"
#include "platform/win32/names.h"
#include "platform/win32/text.h"
#include "platform/win32/tray.h"
#include "platform/win32/win32_platform.h"

namespace tarvex::win32 {
namespace {

TEST(Startup, SetsTheProgramFolderAndTheAnsiCodePageOfTheDataFiles) {
  StartProcess(0, nullptr);
  wchar_t module[MAX_PATH] = {};
  const std::wstring path(module, GetModuleFileNameW(nullptr, module, MAX_PATH));
  EXPECT_EQ(GetAppPath(), Narrow(path.substr(0, path.find_last_of(L'\\') + 1)));
  if (GetACP() != 1252) GTEST_SKIP() << "code page " << GetACP();
  EXPECT_EQ(CurrentFileCodec().ToFile("Kestr\xC3\xBCne"), "Kestr\xFCne");
  EXPECT_EQ(CurrentFileCodec().FromFile("Kestr\xFCne"), "Kestr\xC3\xBCne");
  EXPECT_EQ(CurrentFileCodec().ToFile("\xC5\x82"), std::nullopt) << "a letter the code page lacks";
}

// The icon, its callback and the record's other fields are seen by the shell in desktop_test.sh.
TEST(TrayRecord, CarriesTheVisibleTipInUtf16) {
  const std::pair<std::string, std::wstring> tips[] = {
      {std::string("14:05:33\r\nGOOD MOON") + '\0' + "hidden", L"14:05:33\r\nGOOD MOON"},
      // szTip holds 127 characters and its NUL: the presenter's limit, kTipLimit
      {std::string(127, 'x'), std::wstring(127, L'x')},
      {std::string(130, 'x'), std::wstring(127, L'x')},
      {"\xC3\xA9" + std::string(130, 'y'), L"\xE9" + std::wstring(126, L'y')}};
  static_assert(kTipLimit == 127);
  HICON picture = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));
  for (const auto& [tip, shown] : tips) {
    TrayIcon icon;
    icon.Tip = tip;
    const NOTIFYICONDATAW data = NotifyIconData(icon, nullptr, picture);
    EXPECT_EQ(std::wstring(data.szTip), shown);
  }
}

TEST(AlertRecord, ChangesOnlyTheNotificationAndIsSilentWithoutSound) {
  struct Case {
    MoonAlert alert;
    std::wstring shown;
    DWORD flags;
  };
  constexpr DWORD kAlways = NIIF_USER | NIIF_LARGE_ICON | NIIF_RESPECT_QUIET_TIME;
  const std::string moon = "\xF0\x9F\x8C\x95";  // U+1F315, beyond the BMP: two units
  const Case cases[] = {
      {{"GOOD MOON IN 1 MINUTE, AT 5:33 PM", 105, true},
       L"GOOD MOON IN 1 MINUTE, AT 5:33 PM",
       kAlways},
      {{"BAD MOON NOW", 101, false}, L"BAD MOON NOW", kAlways | NIIF_NOSOUND},
      // The player's own sound plays beside a silent balloon.
      {{"GOOD MOON NOW", 105, true, false, "C:\\Sounds\\gong.wav"},
       L"GOOD MOON NOW",
       kAlways | NIIF_NOSOUND},
      // szInfo holds 255 units and its NUL.
      {{moon + std::string(300, 'x'), 105, true}, L"\U0001F315" + std::wstring(253, L'x'), kAlways},
  };
  HICON picture = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));
  for (const Case& c : cases) {
    const NOTIFYICONDATAW data = AlertIconData(c.alert, nullptr, 1, picture);
    EXPECT_EQ(std::wstring(data.szInfo), c.shown);
    EXPECT_EQ(data.dwInfoFlags, c.flags) << c.alert.Text;
    EXPECT_EQ(std::wstring(data.szInfoTitle), L"Tarvex");
    // The icon, its tip and its callback stay as they are.
    EXPECT_EQ(data.uFlags, static_cast<UINT>(NIF_INFO));
    EXPECT_EQ(data.cbSize, sizeof data) << "a record that carries hBalloonIcon";
    EXPECT_EQ(data.hBalloonIcon, picture);
  }
}

TEST(PopupMenu, ShowsTheEntriesAsGivenAndMapsCommandsBackToItems) {
  const MenuEntry entries[] = {
      {MenuItem::SetDateandTime, "Set Date and Time"},
      {MenuItem::Sep1, "", true},
      {MenuItem::ShowCurrentTime, "Show Current Time", false, true},
      {MenuItem::ShowNextBadMoon, "Show Next Bad Moon", false, false, false, true},  // greyed
      {MenuItem::Exit, "Fish & Chips"}};
  MenuHandle menu = BuildPopupMenu(entries);
  ASSERT_EQ(GetMenuItemCount(menu.get()), 5);
  for (UINT i = 0; i < 5; ++i) {
    const UINT state = GetMenuState(menu.get(), i, MF_BYPOSITION);
    EXPECT_EQ((state & MF_SEPARATOR) != 0, entries[i].Separator) << i;
    EXPECT_EQ((state & MF_CHECKED) != 0, entries[i].Checked) << i;
    EXPECT_EQ((state & MF_GRAYED) != 0, entries[i].Disabled || entries[i].Separator) << i;
    const auto item = entries[i].Separator ? std::nullopt : std::optional(entries[i].Item);
    EXPECT_EQ(ItemOfCommand(GetMenuItemID(menu.get(), i)), item) << i;
  }
  wchar_t text[32] = {};
  GetMenuStringW(menu.get(), 4, text, 32, MF_BYPOSITION);
  EXPECT_EQ(std::wstring(text), L"Fish && Chips") << "no mnemonic";
  EXPECT_EQ(ItemOfCommand(0), std::nullopt) << "menu dismissed";
  EXPECT_EQ(ItemOfCommand(CommandOf(MenuItem::Exit) + 1), std::nullopt);
}

// The presenters' dialogs behind the windows; the file question is answered with one file, and
// the messages are noted.
struct Host final : DialogHost {
  void ShowMessage(std::string_view text, std::string_view) override {
    messages.emplace_back(text);
  }
  std::string ShowOpenFileDialog(const FileOpenRequest&) override {
    return "C:\\K\\h\xC3\xA9ro.zrd";
  }
  std::vector<std::string> messages;
};

// (Captions and OK, which closes the dialog, are seen in desktop_test.sh.)
// The auto-run (or calibration) dialog's window, as the front-end makes it, or only from its
// template (no handlers).
struct DialogWindow {
  static INT_PTR CALLBACK Inert(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
  explicit DialogWindow(bool plain = false, bool dateTime = false)
      : dialog(dateTime ? static_cast<Dialog&>(dateTimeDialog) : autoRunDialog) {
    dialog.SetText(ControlId::txtTime, "h\xC3\xA9");
    const std::vector<WORD> layout = DialogTemplate(dialog);
    const auto* form = reinterpret_cast<LPCDLGTEMPLATEW>(layout.data());
    window = plain ? CreateDialogIndirectParamW(GetModuleHandleW(nullptr), form, nullptr, Inert, 0)
                   : CreateModelessDialog(GetModuleHandleW(nullptr), dialog, nullptr);
  }
  ~DialogWindow() { DestroyWindow(window); }
  HWND operator[](std::string_view name) const {
    const auto all = dialog.Controls();
    const auto found =
        std::find_if(all.begin(), all.end(), [&](auto& c) { return ControlName(c.Id) == name; });
    return GetDlgItem(window, ControlWindowId(static_cast<std::size_t>(found - all.begin())));
  }
  LRESULT Send(std::string_view name, UINT message) const {
    return SendMessageW((*this)[name], message, 0, 0);
  }
  std::wstring Text(HWND control) const {
    wchar_t text[64] = {};
    GetWindowTextW(control, text, 64);
    return text;
  }

  Host host;
  frmAutoRun autoRunDialog{host, [](const AutoRunSettings&) {}};
  frmDateTime dateTimeDialog{host, {}, [](const CalibrationRecord&) {}};
  Dialog& dialog;
  HWND window = nullptr;
};

TEST(DialogWindow, TheTemplateMakesEachControlOfItsKindWhereTheLayoutPutsIt) {
  const DialogWindow shown(true);
  const std::tuple<const char*, LONG_PTR, LONG_PTR> styles[] = {
      {"Frame1", BS_TYPEMASK, BS_GROUPBOX},      {"optKSTime", BS_TYPEMASK, BS_RADIOBUTTON},
      {"Label1", SS_TYPEMASK, SS_RIGHT},         {"txtTime", ES_PASSWORD, 0},
      {"txtPassword", ES_PASSWORD, ES_PASSWORD}, {"cmdOK", BS_TYPEMASK, BS_DEFPUSHBUTTON},
      {"cmdLoad", BS_TYPEMASK, BS_PUSHBUTTON}};
  for (const auto& [name, mask, style] : styles)
    EXPECT_EQ(GetWindowLongPtrW(shown[name], GWL_STYLE) & mask, style) << name;
  RECT expected{98, 34, 98 + 80, 34 + 12}, actual;
  MapDialogRect(shown.window, &expected);
  GetWindowRect(shown["txtTime"], &actual);
  MapWindowPoints(nullptr, shown.window, reinterpret_cast<POINT*>(&actual), 2);
  EXPECT_TRUE(EqualRect(&actual, &expected));
}

TEST(DialogWindow, OpensWithTheLimitsMaskValuesAndTabOrder) {
  const DialogWindow shown;
  EXPECT_GT(shown.Send("txtPassword", EM_GETLIMITTEXT), 32767) << "no limit";
  EXPECT_EQ(shown.Send("txtPassword", EM_GETPASSWORDCHAR), L'*');
  EXPECT_EQ(shown.Text(shown["txtTime"]), L"h\u00e9");
  EXPECT_EQ(shown.Send("optKSTime", BM_GETCHECK), BST_CHECKED);
  EXPECT_EQ(shown.Send("optRLTime", BM_GETCHECK), BST_UNCHECKED);
  HWND at = nullptr;  // the list's order, entering the option group at its choice
  for (const char* name : {"optKSTime", "txtTime", "txtDate", "cmdOK", "cmdCancel",
                           "txtCharacterFile", "cmdLoad", "txtPassword", "optKSTime"})
    EXPECT_EQ(at = GetNextDlgTabItem(shown.window, at, FALSE), shown[name]) << name;
  EXPECT_EQ(DialogWindow(false, true).Send("txtRealTime", EM_GETLIMITTEXT), 8);
}

TEST(DialogWindow, TextsReachThePresenterBeforeAClickAndItsValuesShowAfterIt) {
  DialogWindow shown;
  SetWindowTextW(shown["txtCharacterFile"], L"typed");
  SetWindowTextW(shown["txtPassword"], L"p\u00e9");
  shown.Send("cmdLoad", BM_CLICK);
  EXPECT_EQ(shown.autoRunDialog.txtPassword, "p\xC3\xA9");
  EXPECT_EQ(shown.Text(shown["txtPassword"]), L"p\u00e9") << "a secret box is left as typed";
  EXPECT_EQ(shown.Text(shown["txtCharacterFile"]), L"C:\\K\\h\u00e9ro.zrd") << "the file chosen";
  shown.Send("optRLTime", BM_CLICK);
  EXPECT_EQ(shown.Send("optKSTime", BM_GETCHECK), BST_UNCHECKED);
  EXPECT_EQ(shown.Send("optRLTime", BM_GETCHECK), BST_CHECKED);
  EXPECT_EQ(GetNextDlgTabItem(shown.window, nullptr, FALSE), shown["optRLTime"]);
}

// A refused value's box takes the focus, its whole text selected, once its message is gone.
TEST(DialogWindow, ARefusedBoxTakesTheFocusWithItsTextSelected) {
  DialogWindow shown(false, true);
  ShowWindow(shown.window, SW_SHOW);
  SetForegroundWindow(shown.window);
  for (const auto& [box, text] : {std::pair{"txtRealTime", L"10:00:00"},
                                  {"txtRealDate", L"12/06/2026"},
                                  {"txtZRDTime", L"25:00"},
                                  {"txtZRDDate", L"03/14/0002"}})
    SetWindowTextW(shown[box], text);
  SetFocus(shown["cmdSetDateandTime"]);
  shown.Send("cmdSetDateandTime", BM_CLICK);
  EXPECT_EQ(shown.host.messages.size(), 1u);
  EXPECT_EQ(GetFocus(), shown["txtZRDTime"]);
  DWORD start = 1, end = 0;
  SendMessageW(shown["txtZRDTime"], EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(std::make_pair(start, end), std::make_pair(DWORD{0}, DWORD{5}));
}

// OK with the boxes empty would show a message and leave the dialog open. The password's box is
// emptied as the window closes, which the presenter hears of.
TEST(DialogWindow, EscapeAndTheCloseBoxCancelAndTheWindowCloses) {
  for (const auto& [message, wParam] :
       {std::pair<UINT, WPARAM>{WM_COMMAND, IDCANCEL}, {WM_CLOSE, 0}}) {
    const DialogWindow shown;
    SetWindowTextW(shown["txtPassword"], L"pw");
    SendMessageW(shown.window, message, wParam, 0);
    EXPECT_TRUE(shown.dialog.Closed() && shown.host.messages.empty()) << message;
    EXPECT_FALSE(IsWindow(shown.window)) << message;
    EXPECT_TRUE(shown.autoRunDialog.txtPassword.empty()) << message << ": its box emptied first";
  }
}

// The label beside the minutes box counts the minutes as the edit control changes.
TEST(DialogWindow, TheMinutesLabelFollowsTheTextTyped) {
  Host host;
  frmAlarms alarms(
      host, AlarmSettings{}, [](const AlarmSettings&) { return true; },
      [](const AlarmSettings&) {});
  HWND window = CreateModelessDialog(GetModuleHandleW(nullptr), alarms, nullptr);
  const auto item = [&](ControlId id) {
    const auto all = alarms.Controls();
    const auto found = std::find_if(all.begin(), all.end(), [&](auto& c) { return c.Id == id; });
    return GetDlgItem(window, ControlWindowId(static_cast<std::size_t>(found - all.begin())));
  };
  const auto label = [&] {
    wchar_t text[32] = {};
    GetWindowTextW(item(ControlId::Label1), text, 32);
    return std::wstring(text);
  };
  std::vector<std::wstring> shown{label()};
  for (const wchar_t* typed : {L"1", L"15", L"01", L""}) {
    SetWindowTextW(item(ControlId::txtWarningMinutes), typed);
    shown.push_back(label());
  }
  EXPECT_EQ(shown,
            (std::vector<std::wstring>{L"minutes before", L"minute before", L"minutes before",
                                       L"minute before", L"minutes before"}));
  DestroyWindow(window);
}

std::wstring TempFolder() {
  wchar_t temp[MAX_PATH];
  return std::wstring(temp, GetTempPathW(MAX_PATH, temp));
}

TEST(Files, OnlyNormalFilesAreFoundByTheirStoredNameAndAnEmptyFileDoesNotStart) {
  const std::wstring game =
      TempFolder() + L"tarvex-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
  std::filesystem::create_directories(game + L"folder.exe");
  const std::pair<const wchar_t*, DWORD> files[] = {{L"vrak.exe", FILE_ATTRIBUTE_NORMAL},
                                                    {L"hidden.exe", FILE_ATTRIBUTE_HIDDEN},
                                                    {L"system.exe", FILE_ATTRIBUTE_SYSTEM}};
  for (const auto& [name, attributes] : files) {
    CloseHandle(CreateFileW((game + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            attributes, nullptr));
  }
  const std::pair<const char*, std::optional<std::string>> cases[] = {
      {"vrak.exe", "vrak.exe"},     {"VRAK.EXE", "vrak.exe"},     {"hidden.exe", std::nullopt},
      {"system.exe", std::nullopt}, {"folder.exe", std::nullopt}, {"missing.exe", std::nullopt},
      {"*.exe", std::nullopt}};
  Win32Platform platform(GetModuleHandleW(nullptr));
  for (const auto& [name, found] : cases)
    EXPECT_EQ(platform.FindNormalFile(Narrow(game) + name), found) << name;
  EXPECT_EQ(platform.StartProgram(Narrow(game) + "vrak.exe", Narrow(game), 2), std::nullopt);
  std::error_code error;
  std::filesystem::remove_all(game, error);
}

// A game folder named in Chinese, which the code page lacks, holding the game; the data files in
// a folder beside it.
class GameFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    StartProcess(0, nullptr);
    if (Utf8ToAnsiExactly(Narrow(game_))) GTEST_SKIP() << "code page " << GetACP();
    std::filesystem::create_directories(game_);
    std::filesystem::create_directories(data_);
    CloseHandle(CreateFileW((game_ + L"vrak.exe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    SetDataFolder(Narrow(data_));
  }
  void TearDown() override {
    std::error_code error;
    std::filesystem::remove_all(root_, error);
  }
  std::filesystem::path GamePathFile() const { return data_ + L"\\ZRDDIR.DAT"; }
  std::string Stored() const {
    std::ifstream in(GamePathFile(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::optional<std::string> FindGame() const {
    return Win32Platform(GetModuleHandleW(nullptr))
        .FindNormalFile(ReadGamePath().value + "vrak.exe");
  }

  const std::wstring root_ =
      TempFolder() + L"tarvex-codepage-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
  const std::wstring game_ = root_ + L"\u6e38\u620f\\";
  const std::wstring data_ = root_ + L"data";  // no closing "\\", which would quote the quote
};

TEST_F(GameFolder, IsStoredByItsShortNameWhichFindsTheGame) {
  ASSERT_TRUE(SaveGamePath(Narrow(game_) + "hero.zrd"));
  const std::string stored = Stored();
  EXPECT_EQ(Utf8ToAnsiExactly(stored), stored) << "ASCII, the same in every code page";
  wchar_t longForm[MAX_PATH] = {};
  GetLongPathNameW(Widen(ReadGamePath().value).c_str(), longForm, MAX_PATH);
  EXPECT_EQ(std::wstring(longForm), game_) << stored;
  EXPECT_EQ(FindGame(), "vrak.exe") << stored;
}

// Only a folder that exists has a short name (Wine gives every folder one).
TEST_F(GameFolder, WithoutAShortNameIsNotStoredAndTheOldFileStays) {
  std::ofstream(GamePathFile(), std::ios::binary) << "C:\\Old\\\r\n";
  EXPECT_FALSE(SaveGamePath(Narrow(root_) + "\xE6\x9C\xAA\xE5\xBB\xBA\\hero.zrd"));
  EXPECT_EQ(Stored(), "C:\\Old\\\r\n");
}

TEST_F(GameFolder, TheCommandLineProgramStoresAUsableFolder) {
  std::wstring command = L"\"" + Widen(TARVEX_CLI) + L"\" --data-dir \"" + data_ +
                         L"\" set-path \"" + game_ + L"hero.zrd\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process));
  DWORD exitCode = 1;
  if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
    GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(FindGame(), "vrak.exe") << Stored();
}

}  // namespace
}  // namespace tarvex::win32
