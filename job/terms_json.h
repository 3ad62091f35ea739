#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>

#include "core/expected.h"
#include "job/quotation.h"

namespace kelvane::job {

// 見積条件 as a JSON object, the same keys in a job and in a price list:
// "wireYenPerKg" and "wireMaterial", the material it is the price of, and
// "wireDiameterFromMm" and "wireDiameterToMm", the bare diameters of the
// price list's row it was taken from, when it was (all only with the wire
// price), "lossPercent", "windingRpm",
// "handlingMinutes", "setupMinutes", "labourYenPerHour", "overheadPercent",
// "profitPercent", "parts" (a list of {"name", "yenPerPiece"}) and
// "quantities" (a list of whole numbers).
nlohmann::ordered_json termsJson(const QuotationTerms& terms, bool withWirePrice);

// The terms an object at `path` holds, or the Japanese sentence naming the
// first key that is missing or not of its type: every key is required, every
// figure a number, every name a text, at most kMaxParts parts and
// kMaxQuantities lot sizes, each lot from 1 to kMaxQuantity. Whether the
// figures can price a coil is checkTerms's to say. Without the wire price
// (`wirePriceOf` empty) the terms' wireYenPerKg is 0; with it, the object's
// "wireMaterial" may be left out, and `wirePriceOf` is the material then (a
// job saved before the key: the job's own material).
Expected<QuotationTerms> readTerms(const nlohmann::json& object, std::string_view path,
                                   std::optional<ConductorMaterial> wirePriceOf);

}  // namespace kelvane::job
