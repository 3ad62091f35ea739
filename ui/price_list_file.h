#pragma once

#include <QString>
#include <optional>

#include "core/expected.h"
#include "job/price_list.h"

namespace kelvane::ui {

// The user's price list (編集 › 単価表…) lives in the program's configuration
// folder: ~/.config/kelvane/prices.json.
QString priceListPath();

// The list in that file, or the built-in list while nothing is there (until
// the user saves a list, the built-in one is theirs); a file that cannot be
// read, a link to nowhere or a folder that cannot be searched is the
// sentence naming it and why (job::readUserPriceListFile).
Expected<job::PriceList> readUserPriceList();

// Saves the list there, stamped with the time, making the folder when there
// is none yet, and keeping a damaged file there as prices.json.bak first:
// the list as saved, or the sentence naming the file and why not.
Expected<job::PriceList> saveUserPriceList(const job::PriceList& list);

}  // namespace kelvane::ui
