#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "engine_fixture.h"

namespace tarvex {
namespace {

using DataFiles = testing::EngineTest;

// A path of the platform's own form: the pieces joined by its separator.
std::string NativePath(std::initializer_list<std::string_view> pieces, bool trailing = false) {
  std::string path;
  for (const auto piece : pieces) {
    if (!path.empty()) path += kPathSeparator;
    path += piece;
  }
  if (trailing) path += kPathSeparator;
  return path;
}

TEST_F(DataFiles, FirstStartCreatesBothFilesEmptyAndUsesTheDefaults) {
  clock_.SetLocal(2026, 12, 6, 9, 5, 7);
  EXPECT_EQ(ReadGamePath(), Folder());
  const CalibrationRecord record = ReadCalibration();
  EXPECT_EQ(record, testing::Record("09:05:07", "12/06/2026", "00:00:01", "01/01/0001"));
  EXPECT_TRUE(std::filesystem::exists(File("ZRDDIR.DAT")));
  EXPECT_TRUE(std::filesystem::exists(File("ZRDTIMES.DAT")));
  EXPECT_EQ(std::filesystem::file_size(File("ZRDTIMES.DAT")), 0u);
}

TEST_F(DataFiles, CalibrationFileShorterThanElevenBytesGivesTheDefault) {
  clock_.SetLocal(2026, 1, 2, 3, 4, 5);
  Write("ZRDTIMES.DAT", "1,2,3,4,56");  // ten bytes, four values
  EXPECT_EQ(ReadCalibration().ZRDDate.str(), "01/01/0001");
  Write("ZRDTIMES.DAT", "1,2,3,4,567");  // eleven
  EXPECT_EQ(ReadCalibration(), testing::Record("1", "2", "3", "4"));
}

TEST_F(DataFiles, FewerThanFourValuesGiveTheDefault) {
  clock_.SetLocal(2026, 1, 2, 3, 4, 5);
  Write("ZRDTIMES.DAT", "12:00:00\r\n01/01/2026\r\n");
  EXPECT_EQ(ReadCalibration(), testing::Record("03:04:05", "01/02/2026", "00:00:01", "01/01/0001"));
}

TEST_F(DataFiles, ValuesAreStoredByTheFixedWidthRule) {
  Write("ZRDTIMES.DAT", "1:2:3\r\n01/02/2003\r\n12:00:00xyz\r\n\"05/06/0007\"\r\n");
  const CalibrationRecord record = ReadCalibration();
  EXPECT_EQ(record.RealTime.str(), "1:2:3   ");
  EXPECT_EQ(record.ZRDTime.str(), "12:00:00");
  EXPECT_EQ(record.ZRDDate.str(), "05/06/0007");
}

TEST_F(DataFiles, ReadingRuleSkipsLeadingBlanksAndEndsAtCommasAndQuotes) {
  Write("ZRDTIMES.DAT", "   10:00:00,01/01/2026\n\"a,b\" ignored,  x  \r\n");
  EXPECT_EQ(ReadCalibration(), testing::Record("10:00:00", "01/01/2026", "a,b", "x  "));
}

TEST_F(DataFiles, SavedCalibrationIsFortyFourBytesAndReadsBack) {
  const CalibrationRecord record = testing::Record("1:2:3", "01/02/2003", "24:10:00", "03/05/0002");
  ASSERT_TRUE(SaveCalibration(record));
  EXPECT_EQ(Read("ZRDTIMES.DAT"), "1:2:3   \r\n01/02/2003\r\n24:10:00\r\n03/05/0002\r\n");
  EXPECT_EQ(std::filesystem::file_size(File("ZRDTIMES.DAT")), 44u);
  EXPECT_EQ(ReadCalibration(), record);
}

TEST_F(DataFiles, GamePathLinesAreTrimmedAndEndAtAComma) {
  const std::pair<const char*, std::string> cases[] = {
      {"   C:\\Games\\Kestrune\\   \r\n", "C:\\Games\\Kestrune\\"},
      {"C:\\Games,Old\\\r\n", "C:\\Games"},
      {"C:\\Games\\Kestrune\r\n", "C:\\Games\\Kestrune"},
      {"     \r\n", Folder()},
      {"\r\nC:\\Second\\\r\n", Folder()},
      {"\"C:\\Quoted, Folder\\\"\r\n", "C:\\Quoted, Folder\\"},
  };
  for (const auto& [line, folder] : cases) {
    Write("ZRDDIR.DAT", line);
    EXPECT_EQ(ReadGamePath(), folder) << line;
  }
}

TEST_F(DataFiles, SaveGamePathKeepsTheFolderOfTheFile) {
  const std::pair<std::string, std::string> cases[] = {
      {NativePath({"C:", "Games", "Kestrune", "hero.zrd"}),
       NativePath({"C:", "Games", "Kestrune"}, true)},
      {NativePath({"C:", "Games"}, true), NativePath({"C:", "Games"}, true)},
      {NativePath({"C:", "x.zrd"}), NativePath({"C:"}, true)},
  };
  for (const auto& [file, folder] : cases) {
    ASSERT_TRUE(SaveGamePath(file)) << file;
    EXPECT_EQ(Read("ZRDDIR.DAT"), folder + "\r\n") << file;
    EXPECT_EQ(ReadGamePath(), folder) << file;
  }
}

TEST_F(DataFiles, SaveGamePathRefusesTextsWithoutAFolder) {
  Write("ZRDDIR.DAT", "kept\r\n");
  EXPECT_FALSE(SaveGamePath("C:"));
  EXPECT_FALSE(SaveGamePath("hero.zrd"));
  EXPECT_EQ(Read("ZRDDIR.DAT"), "kept\r\n");
}

TEST_F(DataFiles, FailedSavesReportFalseAndKeepTheOldFiles) {
  Write("ZRDTIMES.DAT", "old");
  Write("ZRDDIR.DAT", "old");
  // A folder where the temporary file would go makes every write fail.
  std::filesystem::create_directory(File("ZRDTIMES.DAT.tmp"));
  std::filesystem::create_directory(File("ZRDDIR.DAT.tmp"));
  EXPECT_FALSE(SaveCalibration(testing::Record("1", "2", "3", "4")));
  EXPECT_FALSE(SaveGamePath(NativePath({"C:", "Games", "x.zrd"})));
  EXPECT_EQ(Read("ZRDTIMES.DAT"), "old");
  EXPECT_EQ(Read("ZRDDIR.DAT"), "old");
}

TEST_F(DataFiles, SaveIntoAMissingFolderFails) {
  SetDataFolder((folder_ / "gone").string());
  EXPECT_FALSE(SaveCalibration(testing::Record("1", "2", "3", "4")));
}

TEST_F(DataFiles, TheCodecTranslatesFileBytes) {
  // A one-character code page: "é" is the byte E9 in the file and two bytes inside.
  const auto swap = [](std::string from, const std::string& to) {
    return [from, to](std::string_view text) {
      std::string out(text);
      for (std::size_t at = out.find(from); at != std::string::npos; at = out.find(from, at))
        out.replace(at, from.size(), to);
      return out;
    };
  };
  SetFileCodec({swap("\xE9", "\xC3\xA9"), swap("\xC3\xA9", "\xE9")});
  const std::string folder = NativePath({"C:", "Jeux \xC3\xA9t\xC3\xA9"}, true);
  ASSERT_TRUE(SaveGamePath(folder + "hero.zrd"));
  EXPECT_EQ(Read("ZRDDIR.DAT"), NativePath({"C:", "Jeux \xE9t\xE9"}, true) + "\r\n");
  EXPECT_EQ(ReadGamePath(), folder);
}

TEST_F(DataFiles, AFolderTheFileCannotCarryIsStoredByItsOtherNameOrNotAtAll) {
  // An ASCII-only file; "Jeux été" has a short name, "Ünlisted" none.
  const std::string games = NativePath({"C:", "Games"}, true);
  const std::string jeux = NativePath({"C:", "Jeux \xC3\xA9t\xC3\xA9"}, true);
  const std::string jeuxShort = NativePath({"C:", "JEUXET~1"}, true);
  const std::map<std::string, std::string, std::less<>> names{{games, games}, {jeux, jeuxShort}};
  FileCodec codec;
  codec.ToFile = [](std::string_view text) -> std::optional<std::string> {
    if (std::any_of(text.begin(), text.end(), [](char c) { return c & 0x80; })) return {};
    return std::string(text);
  };
  codec.StoredFolder = [&names](std::string_view folder) -> std::optional<std::string> {
    const auto found = names.find(folder);
    if (found == names.end()) return {};
    return found->second;
  };
  SetFileCodec(codec);
  const std::pair<std::string, std::optional<std::string>> cases[] = {
      {games + "hero.zrd", games},
      {jeux + "hero.zrd", jeuxShort},
      {NativePath({"C:", "\xC3\x9Cnlisted", "hero.zrd"}), std::nullopt},
  };
  for (const auto& [file, stored] : cases) {
    Write("ZRDDIR.DAT", "kept\r\n");
    EXPECT_EQ(SaveGamePath(file), stored.has_value()) << file;
    EXPECT_EQ(Read("ZRDDIR.DAT"), stored.value_or("kept") + "\r\n") << file;
  }
}

}  // namespace
}  // namespace tarvex
