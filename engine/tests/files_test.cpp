#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>

#include "engine/settings.h"
#include "engine_fixture.h"

namespace tarvex {
namespace {

using DataFiles = testing::EngineTest;

// A path in the platform's own form: "/" written as its separator.
std::string Native(std::string path) {
  std::replace(path.begin(), path.end(), '/', kPathSeparator);
  return path;
}

// The first start creates both files empty; a calibration shorter than eleven bytes or of fewer
// than four values gives the default pair.
TEST_F(DataFiles, CalibrationIsReadByTheValueRuleIntoFixedWidthFields) {
  clock_.SetLocal(2026, 1, 2, 3, 4, 5);
  const CalibrationRecord fallback = Record("03:04:05", "01/02/2026", "00:00:01", "01/01/0001");
  EXPECT_EQ(ReadCalibration().value, fallback);
  EXPECT_EQ(ReadGamePath().value, Folder());
  EXPECT_TRUE(std::filesystem::exists(File("ZRDDIR.DAT")));
  EXPECT_TRUE(std::filesystem::exists(File("ZRDTIMES.DAT")));
  EXPECT_EQ(Read("ZRDTIMES.DAT"), "");
  const std::pair<const char*, CalibrationRecord> cases[] = {
      {"1,2,3,4,56", fallback},  // ten bytes
      {"1,2,3,4,567", Record("1", "2", "3", "4")},
      {"12:00:00\r\n01/01/2026\r\n10:00:00\r\n", fallback},  // three values
      {"1:2:3\r\n01/02/2003\r\n12:00:00xyz\r\n\"05/06/0007\"\r\n",
       Record("1:2:3   ", "01/02/2003", "12:00:00", "05/06/0007")},
      {"   10:00:00,01/01/2026\n\"a,b\" ignored,  x  \r\n",
       Record("10:00:00", "01/01/2026", "a,b", "x  ")},
  };
  for (const auto& [text, record] : cases) {
    Write("ZRDTIMES.DAT", text);
    EXPECT_EQ(ReadCalibration().value, record) << text;
  }
  const CalibrationRecord record = Record("1:2:3", "01/02/2003", "24:10:00", "03/05/0002");
  ASSERT_TRUE(SaveCalibration(record));
  EXPECT_EQ(Read("ZRDTIMES.DAT"), "1:2:3   \r\n01/02/2003\r\n24:10:00\r\n03/05/0002\r\n");
  EXPECT_EQ(ReadCalibration().value, record);
}

TEST_F(DataFiles, GamePathIsTheFirstValueTrimmed) {
  const std::pair<const char*, std::string> cases[] = {
      {"   C:\\Games\\Kestrune\\   \r\n", "C:\\Games\\Kestrune\\"},
      {"C:\\Games,Old\\\r\n", "C:\\Games"},
      {"     \r\n", Folder()},
      {"\r\nC:\\Second\\\r\n", Folder()},
      {"\"C:\\Quoted, Folder\\\"\r\n", "C:\\Quoted, Folder\\"},
  };
  for (const auto& [line, folder] : cases) {
    Write("ZRDDIR.DAT", line);
    EXPECT_EQ(ReadGamePath().value, folder) << line;
  }
  ASSERT_TRUE(SaveGamePath(Native("C:/Games/hero.zrd")));  // the file's folder, as it is
  EXPECT_EQ(ReadGamePath().value, Native("C:/Games/"));
}

// What the three files are read as: a UTF-8 byte-order mark (Notepad wrote one for years) is
// dropped and the rest taken as UTF-8, whatever the code page; nothing past 64 KiB is read.
TEST_F(DataFiles, AByteOrderMarkIsSkippedAndNoMoreThan64KiBIsRead) {
  SetFileCodec({.FromFile = [](std::string_view bytes) { return "<" + std::string(bytes) + ">"; }});
  const std::string mark = "\xEF\xBB\xBF";
  Write("TARVEX.INI", mark + "[Alarms]\r\nGoodMoon=off\r\n");
  Write("ZRDTIMES.DAT", mark + "12:00:00\r\n01/02/2026\r\n03:04:05\r\n06/07/0008\r\n");
  Write("ZRDDIR.DAT", mark + "C:\\Spiele\\K\xC3\xB6nig\\\r\n");
  EXPECT_FALSE(ReadSettings().value.settings.GoodMoon);
  EXPECT_EQ(ReadCalibration().value, Record("12:00:00", "01/02/2026", "03:04:05", "06/07/0008"));
  EXPECT_EQ(ReadGamePath().value, "C:\\Spiele\\K\xC3\xB6nig\\");
  Write("ZRDDIR.DAT", "x");
  EXPECT_EQ(ReadGamePath().value, "<x>") << "without the mark, through the code page";
  SetFileCodec({});

  Write("TARVEX.INI", std::string(300 * 1024, ';'));
  EXPECT_EQ(ReadDataFile("TARVEX.INI").value.size(), kMaxDataFileBytes);
}

// A code page with "é" as the byte E9 and no other letter outside ASCII: "Ünlisted" has a short
// name that it carries, "€" none.
TEST_F(DataFiles, SaveGamePathStoresTheFolderOfTheFileInAFormTheFileCarries) {
  const auto replace = [](std::string_view text, const char* from, const char* to) {
    return std::regex_replace(std::string(text), std::regex(from), to);
  };
  FileCodec codec;
  codec.FromFile = [=](std::string_view bytes) { return replace(bytes, "\xE9", "\xC3\xA9"); };
  codec.ToFile = [=](std::string_view text) -> std::optional<std::string> {
    std::string bytes = replace(text, "\xC3\xA9", "\xE9");
    if (std::any_of(bytes.begin(), bytes.end(), [](char c) { return c & 0x80 && c != '\xE9'; }))
      return std::nullopt;
    return bytes;
  };
  codec.StoredFolder = [=](std::string_view folder) -> std::optional<std::string> {
    if (folder == Native("C:/\xC3\x9Cnlisted/")) return Native("C:/UNLIST~1/");
    if (codec.ToFile(folder)) return std::string(folder);
    return std::nullopt;
  };
  SetFileCodec(codec);
  // The path, and the file's bytes and the folder read back; none when nothing is saved.
  const std::tuple<std::string, const char*, const char*> cases[] = {
      {"C:/Games/Kestrune/hero.zrd", "C:/Games/Kestrune/", "C:/Games/Kestrune/"},
      {"C:/Games/", "C:/Games/", "C:/Games/"},
      {"C:/x.zrd", "C:/", "C:/"},
      {"C:/Jeux \xC3\xA9t\xC3\xA9/hero.zrd", "C:/Jeux \xE9t\xE9/", "C:/Jeux \xC3\xA9t\xC3\xA9/"},
      {"C:/\xC3\x9Cnlisted/hero.zrd", "C:/UNLIST~1/", "C:/UNLIST~1/"},
      {"C:/\xE2\x82\xAC/hero.zrd", nullptr, nullptr},
      {"C/", nullptr, nullptr},  // shorter than three characters
      {"hero.zrd", nullptr, nullptr},
      // A comma or a line end would end the value bare: quoted, the folder reads back whole.
      {"C:/Games/Kestrune, v2/hero.zrd", "\"C:/Games/Kestrune, v2/\"", "C:/Games/Kestrune, v2/"},
      {"C:/Two\nLines/hero.zrd", "\"C:/Two\nLines/\"", "C:/Two\nLines/"},
      {"C:/Two\rLines/hero.zrd", "\"C:/Two\rLines/\"", "C:/Two\rLines/"},
      {"C:/Say \"Hi\"/hero.zrd", nullptr, nullptr},  // no value carries a double quote
      {"C:/Say \"Hi, v2\"/hero.zrd", nullptr, nullptr},
  };
  for (const auto& [file, bytes, folder] : cases) {
    Write("ZRDDIR.DAT", "kept\r\n");
    EXPECT_EQ(SaveGamePath(Native(file)).ok(), bytes != nullptr) << file;
    EXPECT_EQ(Read("ZRDDIR.DAT"), Native(bytes ? bytes : "kept") + "\r\n") << file;
    EXPECT_EQ(ReadGamePath().value, Native(folder ? folder : "kept")) << file;
  }
}

// Every save of the three files, by name.
const std::pair<const char*, Result (*)()> kSaves[] = {
    {"ZRDTIMES.DAT", [] { return SaveCalibration(Record("1", "2", "3", "4")); }},
    {"ZRDDIR.DAT", [] { return SaveGamePath(Native("C:/Games/x.zrd")); }},
    {"TARVEX.INI", [] { return SaveSettings({.GoodMoon = false}); }},
};

// A failed write or replace is reported with its own reason, naming the file; the old file stays
// whole and no temporary file is left.
TEST_F(DataFiles, AFailedSaveSaysWhyAndKeepsTheOldFile) {
  struct Case {
    const char* what;
    Result (*write)(const std::filesystem::path&, std::string_view);
    Result (*replace)(const std::filesystem::path&, const std::filesystem::path&);
    const char* why;
  };
  const auto wrote = [](const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
    return Result();
  };
  const Case cases[] = {
      {"write fails", [](auto&, auto) { return Result::Failure("disk full"); },
       [](auto&, auto&) { return Result(); }, "disk full"},
      {"replace fails", wrote, [](auto&, auto&) { return Result::Failure("access denied"); },
       "access denied"},
  };
  for (const Case& c : cases) {
    SetDataFileCalls({.Write = c.write, .Replace = c.replace});
    for (const auto& [name, save] : kSaves) {
      Write(name, "old");
      const Result result = save();
      EXPECT_FALSE(result) << c.what << ": " << name;
      EXPECT_EQ(result.why(), File(name).string() + " could not be written: " + c.why) << name;
      EXPECT_EQ(Read(name), "old") << c.what << ": " << name;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder()), {}), 4)
        << c.what << ": the three files and the log";
    EXPECT_TRUE(std::filesystem::exists(File("tarvex.log")));
  }
  SetDataFileCalls({});
}

// A folder in a file's place: reading it is a failure naming the file, and so is writing it,
// which no clean-up may turn into success.
TEST_F(DataFiles, AFolderInAFilesPlaceIsReportedOnReadAndWrite) {
  for (const auto& [name, save] : kSaves) {
    std::filesystem::create_directory(File(name));
    EXPECT_FALSE(save()) << name;
    EXPECT_TRUE(std::filesystem::is_directory(File(name))) << name;
  }
  const auto failed = [this](const Result& result, const char* name) {
    return !result && result.why() == File(name).string() + " cannot be read: it is a folder";
  };
  EXPECT_TRUE(failed(ReadCalibration().result, "ZRDTIMES.DAT"));
  EXPECT_TRUE(failed(ReadGamePath().result, "ZRDDIR.DAT"));
  EXPECT_TRUE(failed(ReadSettings().result, "TARVEX.INI"));
}

}  // namespace
}  // namespace tarvex
