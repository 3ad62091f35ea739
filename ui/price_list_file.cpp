#include "ui/price_list_file.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <chrono>

#include "ui/job_files.h"

namespace kelvane::ui {

QString priceListPath() {
  return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
      .filePath(QStringLiteral("prices.json"));
}

job::LoadedPriceList loadUserPriceList() {
  const QString path = priceListPath();
  // Until the user saves a list of their own the built-in one is theirs:
  // nothing to tell.
  if (!QFileInfo::exists(path)) return {job::builtInPriceList(), ""};
  return job::loadPriceList(fileOf(path));
}

Expected<job::PriceList> saveUserPriceList(const job::PriceList& list) {
  const QString path = priceListPath();
  // A folder that cannot be made is said by the save, which finds none.
  QDir().mkpath(QFileInfo(path).absolutePath());
  return job::savePriceListFile(fileOf(path), list, std::chrono::system_clock::now());
}

}  // namespace kelvane::ui
