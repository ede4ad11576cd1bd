#include "dialogs/character_file.h"

#include <string>

namespace tarvex {

FileOpenRequest CharacterFileRequest(std::string_view folder) {
  const std::size_t bar = kCharacterFileFilter.find('|');
  std::string_view pattern = kCharacterFileFilter.substr(bar + 1);
  while (!pattern.empty() && pattern.front() == ' ') pattern.remove_prefix(1);
  return FileOpenRequest{
      .FileName = "",
      .InitialFolder = std::string(folder),
      .FilterDescription = std::string(kCharacterFileFilter.substr(0, bar)),
      .FilterPattern = std::string(pattern),
  };
}

}  // namespace tarvex
