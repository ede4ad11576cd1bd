#include "platform/qt/game_process.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include "engine/log.h"

namespace tarvex {
namespace {

// The parent of process `pid` from /proc/<pid>/stat; none when the process is gone.
std::optional<std::uint64_t> ParentProcess(std::uint64_t pid) {
  QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
  if (!stat.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray line = stat.readAll();
  // "pid (name) state ppid ...": the name may hold blanks and parentheses, so read after the last
  // closing one.
  const qsizetype close = line.lastIndexOf(')');
  if (close < 0) return std::nullopt;
  const QList<QByteArray> fields = line.mid(close + 1).simplified().split(' ');
  if (fields.size() < 2) return std::nullopt;
  bool ok = false;
  const qulonglong parent = fields[1].toULongLong(&ok);
  if (!ok) return std::nullopt;
  return parent;
}

}  // namespace

QString FindWine() {
  const QString chosen = qEnvironmentVariable("TARVEX_WINE").trimmed();
  if (!chosen.isEmpty()) {
    if (chosen.contains(QLatin1Char('/'))) {
      const QFileInfo file(chosen);
      return file.isFile() && file.isExecutable() ? file.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(chosen);
  }
  return QStandardPaths::findExecutable(QStringLiteral("wine"));
}

std::optional<std::uint64_t> StartUnderWine(const QString& wine, const QString& program,
                                            const QString& workingFolder) {
  if (wine.isEmpty()) return std::nullopt;
  QProcess process;
  process.setProgram(wine);
  process.setArguments({program});
  process.setWorkingDirectory(workingFolder);
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  // Wine's diagnostics would otherwise land in the terminal or session log that Tarvex writes to.
  if (!environment.contains(QStringLiteral("WINEDEBUG"))) {
    environment.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all"));
  }
  process.setProcessEnvironment(environment);
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  qint64 pid = 0;
  if (!process.startDetached(&pid) || pid <= 0) {
    // The user is told that the game did not start; the log keeps why.
    Warn((wine + QStringLiteral(" could not start ") + program + QStringLiteral(" in ") +
          workingFolder + QStringLiteral(": ") + process.errorString())
             .toStdString());
    return std::nullopt;
  }
  return static_cast<std::uint64_t>(pid);
}

bool IsSameOrDescendant(std::uint64_t candidate, std::uint64_t ancestor) {
  if (ancestor == 0) return false;
  // Up the chain of parents; a chain longer than any real one means /proc changed under us.
  for (int depth = 0; depth < 64 && candidate > 1; ++depth) {
    if (candidate == ancestor) return true;
    const std::optional<std::uint64_t> parent = ParentProcess(candidate);
    if (!parent) return false;
    candidate = *parent;
  }
  return candidate == ancestor;
}

std::optional<QString> NormalFileName(const QString& path) {
  const QFileInfo file(path);
  if (!file.exists() || !file.isFile()) return std::nullopt;
  // The name as the folder stores it: the same as asked on most file systems, but a folder that
  // ignores case may store it differently.
  QString stored = file.fileName();
  const QStringList names =
      file.dir().entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
  if (!names.contains(stored, Qt::CaseSensitive)) {
    for (const QString& name : names) {
      if (name.compare(stored, Qt::CaseInsensitive) == 0) {
        stored = name;
        break;
      }
    }
  }
  if (stored.startsWith(QLatin1Char('.'))) return std::nullopt;  // hidden
  return stored;
}

}  // namespace tarvex
