#include "ui/job_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "job/file_io.h"
#include "job/job_json.h"

namespace kelvane::ui {
namespace {

// Why the file could not be written, in words for the user where the cause is
// common; Qt's own words otherwise.
QString writeReason(const QSaveFile& file) {
  if (file.error() == QFileDevice::PermissionsError) return QStringLiteral("権限がありません");
  const QFileInfo info(file.fileName());
  if (!info.dir().exists()) return QStringLiteral("保存先のフォルダーがありません");
  if (info.isDir()) return QStringLiteral("フォルダーです");
  return file.errorString();
}

}  // namespace

Expected<job::Job> readJobFile(const QString& path) {
  return job::readJobFile(QFile::encodeName(path).toStdString());
}

std::optional<QString> saveFile(const QString& path, std::string_view bytes) {
  QSaveFile file(path);
  // Left uncommitted, the new file is removed and the old one stays.
  const auto fail = [&] {
    return QStringLiteral("「%1」を保存できません（%2）。")
        .arg(QFileInfo(path).fileName(), writeReason(file));
  };
  if (!file.open(QIODevice::WriteOnly)) return fail();
  const auto size = static_cast<qint64>(bytes.size());
  if (file.write(bytes.data(), size) != size || !file.commit()) return fail();
  return std::nullopt;
}

std::optional<QString> saveJobFile(const QString& path, const job::Job& job) {
  const Expected<std::string> text = job::savedJobText(job, std::chrono::system_clock::now());
  if (!text) {
    return QStringLiteral("「%1」を保存できません。%2")
        .arg(QFileInfo(path).fileName(), QString::fromStdString(text.message()));
  }
  return saveFile(path, *text);
}

}  // namespace kelvane::ui
