// Unit tests of the Win32 front-end's pieces, run under Wine: text conversions, start-up, the
// tray record, the popup menu, the keystroke events, the file filter, the dialog builder and the
// file and process services.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "engine/modGeneral.h"
#include "platform/startup.h"
#include "platform/win32/dialog_window.h"
#include "platform/win32/keyboard.h"
#include "platform/win32/menu.h"
#include "platform/win32/names.h"
#include "platform/win32/text.h"
#include "platform/win32/tray.h"
#include "platform/win32/win32_platform.h"

namespace tarvex::win32 {
namespace {

// --- Text ------------------------------------------------------------------------------------

TEST(Text, UnicodeRoundTripsThroughUtf16) {
  const std::string cases[] = {"", "C:\\Games\\Kestrune\\", "\xC3\xA9t\xC3\xA9",
                               "moon \xF0\x9F\x8C\x99", "a\r\nb"};
  for (const std::string& text : cases) EXPECT_EQ(Narrow(Widen(text)), text) << text;
  EXPECT_EQ(Widen("\xF0\x9F\x8C\x99"), std::wstring(L"\xD83C\xDF19"));
}

TEST(Text, BrokenSequencesBecomeReplacementCharacters) {
  EXPECT_EQ(Widen("a\xFF"
                  "b"),
            std::wstring(L"a\xFFFD"
                         L"b"));
  EXPECT_EQ(Narrow(std::wstring(L"x\xD800y")), "x\xEF\xBF\xBDy");
}

TEST(Text, DataFilesUseTheAnsiCodePage) {
  EXPECT_EQ(Utf8ToAnsi("C:\\Games\\"), "C:\\Games\\");
  EXPECT_EQ(AnsiToUtf8("C:\\Games\\"), "C:\\Games\\");
  if (GetACP() != 1252) GTEST_SKIP() << "code page " << GetACP();
  EXPECT_EQ(Utf8ToAnsi("Kestr\xC3\xBCne"), "Kestr\xFCne");
  EXPECT_EQ(AnsiToUtf8("Kestr\xFCne"), "Kestr\xC3\xBCne");
  EXPECT_EQ(Utf8ToAnsi("\xC5\x82"), "?") << "a letter that the code page lacks, not a look-alike";
}

TEST(Startup, SetsTheProgramFolderAndTheFileCodec) {
  const std::vector<std::string> arguments = StartProcess(0, nullptr);
  wchar_t module[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  const std::wstring path = module;
  EXPECT_EQ(GetAppPath(), Narrow(path.substr(0, path.find_last_of(L'\\') + 1)));
  EXPECT_EQ(CurrentFileCodec().ToFile("abc"), "abc");
  EXPECT_EQ(CurrentFileCodec().ToFile("\xC3\xA9"), Utf8ToAnsi("\xC3\xA9"));
  EXPECT_EQ(CurrentFileCodec().FromFile(Utf8ToAnsi("\xC3\xA9")),
            AnsiToUtf8(Utf8ToAnsi("\xC3\xA9")));
}

// --- Tray record ---------------------------------------------------------------------------------

TEST(TrayRecord, CarriesFlagsCallbackAndTheVisibleTip) {
  TrayIcon icon;
  icon.Tip = std::string("14:05:33 03/12/0002\r\nGOOD MOON TODAY AT 3:05 PM") + '\0';
  HICON picture = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));
  const NOTIFYICONDATAW data = NotifyIconData(icon, reinterpret_cast<HWND>(0x1234), picture);
  EXPECT_EQ(data.cbSize, sizeof(NOTIFYICONDATAW));
  EXPECT_EQ(data.hWnd, reinterpret_cast<HWND>(0x1234));
  EXPECT_EQ(data.uID, 1u);
  EXPECT_EQ(data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(data.uCallbackMessage, kTrayCallbackMessage);
  EXPECT_EQ(data.hIcon, picture);
  EXPECT_EQ(std::wstring(data.szTip), L"14:05:33 03/12/0002\r\nGOOD MOON TODAY AT 3:05 PM");
}

TEST(TrayRecord, TipStopsAtTheFirstNulAndAt63Characters) {
  TrayIcon icon;
  icon.Tip = std::string("\0", 1);
  EXPECT_EQ(std::wstring(NotifyIconData(icon, nullptr, nullptr).szTip), L"");
  icon.Tip = std::string(70, 'x');  // cut at 64 by the field, shown up to 63
  EXPECT_EQ(std::wstring(NotifyIconData(icon, nullptr, nullptr).szTip), std::wstring(63, L'x'));
  icon.Tip = "\xC3\xA9" + std::string(70, 'y');
  const std::wstring tip = NotifyIconData(icon, nullptr, nullptr).szTip;
  EXPECT_EQ(tip.size(), 63u);
  EXPECT_EQ(tip.front(), L'\xE9');
}

TEST(TrayRecord, IconsAreLoadedOncePerNumber) {
  IconCache cache(GetModuleHandleW(nullptr));
  // The test program has no icon groups: a missing picture is null and stays null.
  EXPECT_EQ(cache.Get(101), nullptr);
  EXPECT_EQ(cache.Get(101), nullptr);
}

// --- Popup menu ----------------------------------------------------------------------------------

std::wstring MenuText(HMENU menu, int position) {
  wchar_t text[64] = {};
  GetMenuStringW(menu, static_cast<UINT>(position), text, 64, MF_BYPOSITION);
  return text;
}

TEST(PopupMenu, HoldsTheEntriesInOrderWithSeparatorsAndCheckMarks) {
  const MenuEntry entries[] = {
      {MenuItem::SetDateandTime, "Set Date and Time"},
      {MenuItem::Sep1, "", true},
      {MenuItem::ShowCurrentTime, "Show Current Time", false, true},
      {MenuItem::ShowNextBadMoon, "Show Next Bad Moon", false, false},
      {MenuItem::Exit, "Fish & Chips"},
  };
  MenuHandle menu = BuildPopupMenu(entries);
  ASSERT_TRUE(menu);
  ASSERT_EQ(GetMenuItemCount(menu.get()), 5);
  EXPECT_EQ(MenuText(menu.get(), 0), L"Set Date and Time");
  EXPECT_TRUE(GetMenuState(menu.get(), 1, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_TRUE(GetMenuState(menu.get(), 2, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_FALSE(GetMenuState(menu.get(), 3, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_EQ(MenuText(menu.get(), 4), L"Fish && Chips") << "no mnemonic";
  EXPECT_EQ(GetMenuItemID(menu.get(), 0), CommandOf(MenuItem::SetDateandTime));
  EXPECT_EQ(GetMenuItemID(menu.get(), 4), CommandOf(MenuItem::Exit));
}

TEST(PopupMenu, CommandsMapBackToItems) {
  for (MenuItem item :
       {MenuItem::SetDateandTime, MenuItem::SetPath, MenuItem::AutoRunKestrune, MenuItem::Exit}) {
    EXPECT_NE(CommandOf(item), 0u);
    EXPECT_EQ(ItemOfCommand(CommandOf(item)), item);
  }
  EXPECT_EQ(ItemOfCommand(0), std::nullopt) << "menu dismissed";
  EXPECT_EQ(ItemOfCommand(CommandOf(MenuItem::Exit) + 1), std::nullopt);
}

// --- Keystrokes ----------------------------------------------------------------------------------

TEST(Keystrokes, EnterAndTabAreVirtualKeysPressedAndReleased) {
  const Keystroke keys[] = {{Keystroke::Kind::Enter}, {Keystroke::Kind::Tab}};
  const std::vector<INPUT> inputs = KeystrokeInputs(keys);
  ASSERT_EQ(inputs.size(), 4u);
  const WORD expected[] = {VK_RETURN, VK_RETURN, VK_TAB, VK_TAB};
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    EXPECT_EQ(inputs[i].type, static_cast<DWORD>(INPUT_KEYBOARD));
    EXPECT_EQ(inputs[i].ki.wVk, expected[i]) << i;
    EXPECT_EQ((inputs[i].ki.dwFlags & KEYEVENTF_KEYUP) != 0, i % 2 == 1) << i;
    EXPECT_FALSE(inputs[i].ki.dwFlags & KEYEVENTF_UNICODE) << i;
  }
}

TEST(Keystrokes, CharactersAreUnicodeKeysWithSurrogatePairsBeyondTheBmp) {
  const Keystroke keys[] = {{Keystroke::Kind::Character, U'('},
                            {Keystroke::Kind::Character, U'\u00e9'},
                            {Keystroke::Kind::Character, U'\U0001F319'}};
  const std::vector<INPUT> inputs = KeystrokeInputs(keys);
  ASSERT_EQ(inputs.size(), 8u);
  const WORD units[] = {L'(', L'(', 0xE9, 0xE9, 0xD83C, 0xD83C, 0xDF19, 0xDF19};
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    EXPECT_EQ(inputs[i].ki.wVk, 0) << i;
    EXPECT_EQ(inputs[i].ki.wScan, units[i]) << i;
    EXPECT_TRUE(inputs[i].ki.dwFlags & KEYEVENTF_UNICODE) << i;
    EXPECT_EQ((inputs[i].ki.dwFlags & KEYEVENTF_KEYUP) != 0, i % 2 == 1) << i;
  }
}

TEST(Keystrokes, NotationIsTypedAsParsed) {
  const std::vector<INPUT> inputs = KeystrokeInputs(ParseKeystrokes("{TAB}a{(}~"));
  ASSERT_EQ(inputs.size(), 8u);
  EXPECT_EQ(inputs[0].ki.wVk, VK_TAB);
  EXPECT_EQ(inputs[2].ki.wScan, L'a');
  EXPECT_EQ(inputs[4].ki.wScan, L'(');
  EXPECT_EQ(inputs[6].ki.wVk, VK_RETURN);
}

// --- File dialog filter --------------------------------------------------------------------------

TEST(FileDialog, FilterIsDescriptionAndPatternEndingInTwoNuls) {
  FileOpenRequest request;
  request.FilterDescription = "Kestrune Character Files (*.zrd) ";
  request.FilterPattern = "*.zrd";
  const std::wstring filter = OpenFileFilter(request);
  EXPECT_EQ(filter, std::wstring(L"Kestrune Character Files (*.zrd) \0*.zrd\0\0", 41));
}

// --- Dialogs -------------------------------------------------------------------------------------

// A dialog that records what the front-end hands it and answers as a presenter would.
class RecordingDialog final : public Dialog {
 public:
  DialogKind Kind() const override { return DialogKind::AutoRun; }
  std::string_view Caption() const override { return "Recording"; }
  int Width() const override { return 200; }
  int Height() const override { return 100; }
  std::span<const Control> Controls() const override { return kControls; }
  std::string Text(std::string_view name) const override {
    const auto found = texts.find(std::string(name));
    return found == texts.end() ? std::string() : found->second;
  }
  void SetText(std::string_view name, std::string text) override {
    texts[std::string(name)] = std::move(text);
  }
  bool Value(std::string_view name) const override { return name == "optA" ? optionA : !optionA; }
  void Click(std::string_view name) override {
    clicks.emplace_back(name);
    textsAtClick = texts;
    if (name == "optA") optionA = true;
    if (name == "optB") optionA = false;
    if (name == "cmdFill") texts["txtName"] = "filled by the presenter";
    if (name == "cmdOK" || name == "cmdCancel") Unload();
  }

  static constexpr Control kControls[] = {
      {"Frame1", ControlKind::Frame, "Group", 5, 5, 190, 30},
      {"optA", ControlKind::OptionButton, "A", 10, 15, 50, 10},
      {"optB", ControlKind::OptionButton, "B", 70, 15, 50, 10},
      {"Label1", ControlKind::Label, "Name", 5, 42, 50, 8, Align::Right},
      {"txtName", ControlKind::TextBox, "", 60, 40, 80, 12, Align::Left, 8},
      {"txtSecret", ControlKind::TextBox, "", 60, 55, 80, 12, Align::Left, 0, true},
      {"cmdOK", ControlKind::Button, "OK", 10, 80, 50, 14, Align::Center, 0, false, true},
      {"cmdFill", ControlKind::Button, "Fill", 70, 80, 50, 14},
      {"cmdCancel", ControlKind::Button, "Cancel", 130, 80, 50, 14, Align::Center, 0, false, false,
       true},
  };

  std::map<std::string, std::string> texts;
  std::map<std::string, std::string> textsAtClick;
  std::vector<std::string> clicks;
  bool optionA = true;
};

class DialogWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = CreateModelessDialog(GetModuleHandleW(nullptr), dialog, nullptr);
    ASSERT_NE(window, nullptr);
  }
  void TearDown() override {
    if (IsWindow(window)) DestroyWindow(window);
  }
  HWND Item(std::string_view name) const {
    for (std::size_t i = 0; i < std::size(RecordingDialog::kControls); ++i) {
      if (RecordingDialog::kControls[i].Name == name) return GetDlgItem(window, ControlId(i));
    }
    return nullptr;
  }
  std::wstring TextOf(HWND widget) const {
    wchar_t text[256] = {};
    GetWindowTextW(widget, text, 256);
    return text;
  }
  LONG_PTR Style(std::string_view name) const { return GetWindowLongPtrW(Item(name), GWL_STYLE); }

  RecordingDialog dialog;
  HWND window = nullptr;
};

TEST_F(DialogWindowTest, BuildsEveryControlWithItsKindAndLooks) {
  EXPECT_EQ(TextOf(window), L"Recording");
  EXPECT_EQ(Style("Frame1") & BS_TYPEMASK, BS_GROUPBOX);
  EXPECT_EQ(Style("optA") & BS_TYPEMASK, BS_RADIOBUTTON) << "not automatic";
  EXPECT_TRUE(Style("optA") & WS_GROUP);
  EXPECT_FALSE(Style("optB") & WS_GROUP) << "one group with optA";
  EXPECT_EQ(Style("Label1") & SS_TYPEMASK, SS_RIGHT);
  EXPECT_EQ(TextOf(Item("Label1")), L"Name");
  EXPECT_EQ(SendMessageW(Item("txtName"), EM_GETLIMITTEXT, 0, 0), 8);
  EXPECT_GT(SendMessageW(Item("txtSecret"), EM_GETLIMITTEXT, 0, 0), 32767) << "no limit";
  EXPECT_TRUE(Style("txtSecret") & ES_PASSWORD);
  EXPECT_EQ(SendMessageW(Item("txtSecret"), EM_GETPASSWORDCHAR, 0, 0), L'*');
  EXPECT_EQ(Style("cmdOK") & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(Style("cmdFill") & BS_TYPEMASK, BS_PUSHBUTTON);
  EXPECT_EQ(SendMessageW(Item("optA"), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(Item("optB"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(DialogWindowTest, ControlsStandWhereTheLayoutPutsThem) {
  RECT expected{60, 40, 60 + 80, 40 + 12};
  MapDialogRect(window, &expected);
  RECT actual;
  GetWindowRect(Item("txtName"), &actual);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&actual), 2);
  EXPECT_EQ(actual.left, expected.left);
  EXPECT_EQ(actual.top, expected.top);
  EXPECT_EQ(actual.right, expected.right);
  EXPECT_EQ(actual.bottom, expected.bottom);
}

std::vector<std::wstring> TabOrder(HWND window) {
  std::vector<std::wstring> order;
  HWND first = GetNextDlgTabItem(window, nullptr, FALSE);
  for (HWND control = first; control && order.size() < 10;) {
    wchar_t name[32], text[32];
    GetClassNameW(control, name, 32);
    GetWindowTextW(control, text, 32);
    order.push_back(std::wstring(name) + L":" + text);
    control = GetNextDlgTabItem(window, control, FALSE);
    if (control == first) break;
  }
  return order;
}

TEST_F(DialogWindowTest, TabOrderFollowsTheListAndEntersTheOptionGroupAtItsChoice) {
  EXPECT_EQ(TabOrder(window),
            (std::vector<std::wstring>{L"Button:A", L"Edit:", L"Edit:", L"Button:OK",
                                       L"Button:Fill", L"Button:Cancel"}));
  SendMessageW(Item("optB"), BM_CLICK, 0, 0);
  EXPECT_EQ(TabOrder(window).front(), L"Button:B");
}

TEST_F(DialogWindowTest, TypedTextsReachThePresenterBeforeTheClickAndItsTextsComeBack) {
  SetWindowTextW(Item("txtName"), L"h\u00e9ro");
  SetWindowTextW(Item("txtSecret"), L"pw");
  SendMessageW(Item("cmdFill"), BM_CLICK, 0, 0);
  ASSERT_EQ(dialog.clicks, std::vector<std::string>{"cmdFill"});
  EXPECT_EQ(dialog.textsAtClick["txtName"], "h\xC3\xA9ro");
  EXPECT_EQ(dialog.textsAtClick["txtSecret"], "pw");
  EXPECT_EQ(TextOf(Item("txtName")), L"filled by the presenter");
  EXPECT_TRUE(IsWindow(window));
}

TEST_F(DialogWindowTest, OptionButtonsShowThePresentersChoice) {
  SendMessageW(Item("optB"), BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageW(Item("optA"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageW(Item("optB"), BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageW(Item("optB"), BM_CLICK, 0, 0);  // clicking the selected one changes nothing
  EXPECT_EQ(SendMessageW(Item("optB"), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(DialogWindowTest, ClosesOnceThePresenterHasClosed) {
  SendMessageW(Item("cmdOK"), BM_CLICK, 0, 0);
  EXPECT_TRUE(dialog.Closed());
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(DialogWindowTest, EscapePressesTheCancelButton) {
  SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(dialog.clicks, std::vector<std::string>{"cmdCancel"});
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(DialogWindowTest, CloseBoxActsAsCancel) {
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(dialog.clicks, std::vector<std::string>{"cmdCancel"});
  EXPECT_FALSE(IsWindow(window));
}

// --- Files and programs --------------------------------------------------------------------------

class FileLookupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder = std::filesystem::path(temp) / ("tarvex-test-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(folder / "folder.exe");
    for (const char* name : {"vrak.exe", "hidden.exe", "system.exe"}) {
      CloseHandle(CreateFileW((folder / name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    SetFileAttributesW((folder / "hidden.exe").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW((folder / "system.exe").c_str(), FILE_ATTRIBUTE_SYSTEM);
  }
  void TearDown() override {
    SetFileAttributesW((folder / "hidden.exe").c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesW((folder / "system.exe").c_str(), FILE_ATTRIBUTE_NORMAL);
    std::error_code error;
    std::filesystem::remove_all(folder, error);
  }
  std::string Path(const char* name) const { return Narrow((folder / name).wstring()); }

  std::filesystem::path folder;
  Win32Platform platform{GetModuleHandleW(nullptr)};
};

TEST_F(FileLookupTest, FindsOnlyNormalFilesByTheirStoredName) {
  EXPECT_EQ(platform.FindNormalFile(Path("vrak.exe")), "vrak.exe");
  EXPECT_EQ(platform.FindNormalFile(Path("VRAK.EXE")), "vrak.exe") << "the name as stored";
  EXPECT_EQ(platform.FindNormalFile(Path("hidden.exe")), std::nullopt);
  EXPECT_EQ(platform.FindNormalFile(Path("system.exe")), std::nullopt);
  EXPECT_EQ(platform.FindNormalFile(Path("folder.exe")), std::nullopt);
  EXPECT_EQ(platform.FindNormalFile(Path("missing.exe")), std::nullopt);
  EXPECT_EQ(platform.FindNormalFile(Path("*.exe")), std::nullopt) << "no wildcards";
}

TEST_F(FileLookupTest, StartingAProgramThatIsNoProgramFails) {
  EXPECT_EQ(platform.StartProgram(Path("missing.exe"), Narrow(folder.wstring()), 2), std::nullopt);
  EXPECT_EQ(platform.StartProgram(Path("vrak.exe"), Narrow(folder.wstring()), 2), std::nullopt)
      << "an empty file";
}

}  // namespace
}  // namespace tarvex::win32
