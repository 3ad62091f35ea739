#include "job/terms_json.h"

#include <array>
#include <string>
#include <tuple>
#include <utility>

#include "job/job.h"
#include "job/json_fields.h"

namespace kelvane::job {
namespace {

using nlohmann::json;

// The figures of the terms with their keys, in the order they are written.
template <typename Terms>
auto figures(Terms& t) {
  using Figure = std::pair<const char*, decltype(&t.lossPercent)>;
  return std::array<Figure, 7>{Figure{"lossPercent", &t.lossPercent},
                               Figure{"windingRpm", &t.windingRpm},
                               Figure{"handlingMinutes", &t.handlingMinutes},
                               Figure{"setupMinutes", &t.setupMinutes},
                               Figure{"labourYenPerHour", &t.labourYenPerHour},
                               Figure{"overheadPercent", &t.overheadPercent},
                               Figure{"profitPercent", &t.profitPercent}};
}

std::string at(std::string_view path, std::string_view key) {
  return std::string(path) + "." + std::string(key);
}

// The list at key, at most `most` long.
Expected<const json*> readList(const json& object, std::string_view key, std::string_view path,
                               std::size_t most) {
  const auto it = object.find(key);
  if (it == object.end()) return Failure{quotedKey(path) + "がありません。"};
  if (!it->is_array()) return Failure{quotedKey(path) + "が配列ではありません。"};
  if (it->size() > most)
    return Failure{quotedKey(path) + "が多すぎます（" + std::to_string(most) + " 個まで）。"};
  return &*it;
}

Expected<std::vector<PartPrice>> readParts(const json& object, std::string_view path) {
  const auto list = readList(object, "parts", at(path, "parts"), kMaxParts);
  if (!list) return list.failure();
  std::vector<PartPrice> parts;
  for (std::size_t i = 0; i < (*list)->size(); ++i) {
    const json& item = (**list)[i];
    const std::string itemPath = at(path, "parts") + "[" + std::to_string(i) + "]";
    if (!item.is_object()) return Failure{quotedKey(itemPath) + "がオブジェクトではありません。"};
    auto name = readText(item, "name", at(itemPath, "name"), true);
    if (!name) return name.failure();
    const auto yen = readNumber(item, "yenPerPiece", at(itemPath, "yenPerPiece"));
    if (!yen) return yen.failure();
    parts.push_back({std::move(name.value()), *yen});
  }
  return parts;
}

Expected<std::vector<std::int64_t>> readQuantities(const json& object, std::string_view path) {
  const auto list = readList(object, "quantities", at(path, "quantities"), kMaxQuantities);
  if (!list) return list.failure();
  std::vector<std::int64_t> quantities;
  for (std::size_t i = 0; i < (*list)->size(); ++i) {
    const std::string itemPath = at(path, "quantities") + "[" + std::to_string(i) + "]";
    const auto q = readWhole((**list)[i], itemPath, 1, kMaxQuantity);
    if (!q) return q.failure();
    quantities.push_back(*q);
  }
  return quantities;
}

// The bare diameters of the price list's row the wire price was taken
// from: both keys left out for a price typed or taken before lists had rows;
// "wireDiameterToMm" left out for a row open above.
using Diameters = std::pair<std::optional<double>, std::optional<double>>;
Expected<Diameters> readWireDiameters(const json& object, std::string_view path) {
  Diameters range;
  const bool hasFrom = object.contains("wireDiameterFromMm");
  const bool hasTo = object.contains("wireDiameterToMm");
  if (hasTo && !hasFrom) {
    return Failure{quotedKey(at(path, "wireDiameterToMm")) +
                   "には「wireDiameterFromMm」が要ります。"};
  }
  if (hasFrom) {
    const auto from = readNumber(object, "wireDiameterFromMm", at(path, "wireDiameterFromMm"));
    if (!from) return from.failure();
    if (*from < 0) return Failure{quotedKey(at(path, "wireDiameterFromMm")) + "が負の数です。"};
    range.first = *from;
  }
  if (hasTo) {
    const auto to = readNumber(object, "wireDiameterToMm", at(path, "wireDiameterToMm"));
    if (!to) return to.failure();
    if (*to <= *range.first) {
      return Failure{quotedKey(at(path, "wireDiameterToMm")) +
                     "が「wireDiameterFromMm」より大きくありません。"};
    }
    range.second = *to;
  }
  return range;
}

}  // namespace

nlohmann::ordered_json termsJson(const QuotationTerms& terms, bool withWirePrice) {
  nlohmann::ordered_json object = nlohmann::ordered_json::object();
  if (withWirePrice) {
    object["wireYenPerKg"] = terms.wireYenPerKg;
    object["wireMaterial"] = materialWord(terms.wireMaterial);
    if (terms.wireDiameterFromMm) object["wireDiameterFromMm"] = *terms.wireDiameterFromMm;
    if (terms.wireDiameterFromMm && terms.wireDiameterToMm)
      object["wireDiameterToMm"] = *terms.wireDiameterToMm;
  }
  for (const auto& [key, value] : figures(terms)) object[key] = *value;
  nlohmann::ordered_json& parts = object["parts"] = nlohmann::ordered_json::array();
  for (const PartPrice& part : terms.parts)
    parts.push_back({{"name", part.name}, {"yenPerPiece", part.yenPerPiece}});
  object["quantities"] = terms.quantities;
  return object;
}

Expected<QuotationTerms> readTerms(const json& object, std::string_view path,
                                   std::optional<ConductorMaterial> wirePriceOf) {
  QuotationTerms terms;
  if (wirePriceOf) {
    const auto yen = readNumber(object, "wireYenPerKg", at(path, "wireYenPerKg"));
    if (!yen) return yen.failure();
    terms.wireYenPerKg = *yen;
    terms.wireMaterial = *wirePriceOf;
    if (const auto it = object.find("wireMaterial"); it != object.end()) {
      const auto material =
          it->is_string() ? materialFromWord(it->get<std::string>()) : std::nullopt;
      if (!material) {
        return Failure{quotedKey(at(path, "wireMaterial")) +
                       "は copper、aluminium、copperCladAluminium85 のどれかです。"};
      }
      terms.wireMaterial = *material;
    }
    auto range = readWireDiameters(object, path);
    if (!range) return range.failure();
    std::tie(terms.wireDiameterFromMm, terms.wireDiameterToMm) = *range;
  }
  for (const auto& [key, target] : figures(terms)) {
    const auto value = readNumber(object, key, at(path, key));
    if (!value) return value.failure();
    *target = *value;
  }
  auto parts = readParts(object, path);
  if (!parts) return parts.failure();
  terms.parts = std::move(parts.value());
  auto quantities = readQuantities(object, path);
  if (!quantities) return quantities.failure();
  terms.quantities = std::move(quantities.value());
  return terms;
}

}  // namespace kelvane::job
