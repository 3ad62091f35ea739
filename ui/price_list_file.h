#pragma once

#include <QString>
#include <optional>

#include "core/expected.h"
#include "job/file_io.h"
#include "job/price_list.h"

namespace kelvane::ui {

// The user's price list (編集 › 単価表…) lives in the program's configuration
// folder: ~/.config/kelvane/prices.json.
QString priceListPath();

// The list in that file; the built-in list, silently, when there is no
// file, and with the one sentence to tell the user when it cannot be read.
job::LoadedPriceList loadUserPriceList();

// Saves the list there, stamped with the time, making the folder when there
// is none yet: the list as saved, or the sentence naming the file and why
// not.
Expected<job::PriceList> saveUserPriceList(const job::PriceList& list);

}  // namespace kelvane::ui
