#include "ui/price_list_file.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <chrono>

#include "job/file_io.h"
#include "ui/job_files.h"

namespace kelvane::ui {

QString priceListPath() {
  return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
      .filePath(QStringLiteral("prices.json"));
}

Expected<job::PriceList> readUserPriceList() {
  return job::readUserPriceListFile(fileOf(priceListPath()));
}

Expected<job::PriceList> saveUserPriceList(const job::PriceList& list) {
  const QString path = priceListPath();
  // A folder that cannot be made is said by the save, which finds none.
  QDir().mkpath(QFileInfo(path).absolutePath());
  return job::savePriceListFile(fileOf(path), list, std::chrono::system_clock::now());
}

}  // namespace kelvane::ui
