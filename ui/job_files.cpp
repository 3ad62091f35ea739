#include "ui/job_files.h"

#include <QFile>

#include "job/file_io.h"
#include "job/output_file.h"

namespace kelvane::ui {

std::filesystem::path fileOf(const QString& path) { return QFile::encodeName(path).toStdString(); }

Expected<job::Job> readJobFile(const QString& path) { return job::readJobFile(fileOf(path)); }

Expected<void> saveFile(const QString& path, std::string_view bytes) {
  return job::writeFileAtomically(fileOf(path), bytes);
}

Expected<void> saveJobFile(const QString& path, const job::Job& job) {
  return job::saveJobFile(fileOf(path), job);
}

}  // namespace kelvane::ui
