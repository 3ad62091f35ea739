#include "ui/job_files.h"

#include <QFile>

#include "job/file_io.h"
#include "job/output_file.h"

namespace kelvane::ui {
namespace {

std::optional<QString> toQString(const Expected<void>& done) {
  if (done.ok()) return std::nullopt;
  return QString::fromStdString(done.message());
}

}  // namespace

std::filesystem::path fileOf(const QString& path) { return QFile::encodeName(path).toStdString(); }

Expected<job::Job> readJobFile(const QString& path) { return job::readJobFile(fileOf(path)); }

std::optional<QString> saveFile(const QString& path, std::string_view bytes) {
  return toQString(job::writeFileAtomically(fileOf(path), bytes));
}

std::optional<QString> saveJobFile(const QString& path, const job::Job& job) {
  return toQString(job::saveJobFile(fileOf(path), job));
}

}  // namespace kelvane::ui
