#include "dialogs/character_file.h"

#include <string>

namespace tarvex {

FileOpenRequest CharacterFileRequest(std::string_view folder, std::string_view title) {
  const std::size_t bar = kCharacterFileFilter.find('|');
  const std::string_view description = kCharacterFileFilter.substr(0, bar);
  std::string_view pattern = kCharacterFileFilter.substr(bar + 1);
  while (!pattern.empty() && pattern.front() == ' ') pattern.remove_prefix(1);
  return FileOpenRequest{
      .Title = std::string(title),
      .FileName = "",
      .InitialFolder = std::string(folder),
      .FilterDescription = std::string(description),
      .FilterPattern = std::string(pattern),
      .FilterText = std::string(description.substr(0, description.find_last_not_of(' ') + 1)),
  };
}

}  // namespace tarvex
