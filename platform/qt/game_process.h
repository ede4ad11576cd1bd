// Starting the Windows game on Linux through Wine, and telling whether a process belongs to it.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace tarvex {

// The Wine program that starts Windows programs: $TARVEX_WINE when set (a path, or a name looked
// up on PATH), else "wine" on PATH. Empty when none is found.
QString FindWine();

// Starts `program` under `wine` in `workingFolder`, without waiting; the started process, or none
// when none was found (`wine` empty) or it could not be started (logged).
[[nodiscard]] std::optional<std::uint64_t> StartUnderWine(const QString& wine,
                                                          const QString& program,
                                                          const QString& workingFolder);

// Whether `candidate` is `ancestor` or one of its descendants, as /proc shows them now. The game
// started through Wine may be a child of the process that was started.
bool IsSameOrDescendant(std::uint64_t candidate, std::uint64_t ancestor);

// The name as stored in its folder of the normal file at `path`: a regular file (or a link to
// one) whose name does not start with "."; none for anything else.
std::optional<QString> NormalFileName(const QString& path);

}  // namespace tarvex
