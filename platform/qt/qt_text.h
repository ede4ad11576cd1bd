// UTF-8 texts of the presenters as Qt's strings.
#pragma once

#include <QString>
#include <string_view>

namespace tarvex {

inline QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace tarvex
