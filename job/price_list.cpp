#include "job/price_list.h"

#include <algorithm>
#include <cmath>

#include "core/number_text.h"
#include "core/typed_number.h"

#include "job/job.h"
#include "job/json_fields.h"
#include "job/terms_json.h"

namespace kelvane::job {
namespace {

using nlohmann::json;

constexpr FileKind kPriceListFile{"単価表", kPriceListFormatName, kPriceListFormatVersion};

constexpr std::array<ConductorMaterial, 3> kMaterials = {ConductorMaterial::Copper,
                                                         ConductorMaterial::Aluminium,
                                                         ConductorMaterial::CopperCladAluminium85};

std::string rowKey(std::size_t i) { return "wirePrices[" + std::to_string(i) + "]"; }

// A diameter as a row names it: two decimals at least, as wire sizes are
// written (0.20, 1.20, 0.125).
std::string diameterText(double mm) {
  std::string text = plainDecimal(mm);
  const std::size_t point = text.find('.');
  if (point == std::string::npos) text += ".";
  const std::size_t decimals = text.size() - text.find('.') - 1;
  if (decimals < 2) text.append(2 - decimals, '0');
  return text;
}

bool covers(const WirePriceRow& row, double mm) {
  return mm >= row.fromMm && (!row.toMm || mm < *row.toMm);
}

bool coversEveryDiameter(const WirePriceRow& row) { return row.fromMm == 0 && !row.toMm; }

// Version 1: one price a material, {"copper": 1800, ...}.
Expected<std::vector<WirePriceRow>> readWirePricesByMaterial(const json& root) {
  const auto wire = readObject(root, "wireYenPerKg", "wireYenPerKg", true);
  if (!wire) return wire.failure();
  std::array<double, 3> yenPerKg{};
  for (const ConductorMaterial m : kMaterials) {
    const std::string key(materialWord(m));
    const auto yen = readNumber(**wire, key, "wireYenPerKg." + key);
    if (!yen) return yen.failure();
    if (*yen < 0) return Failure{quotedKey("wireYenPerKg." + key) + "が負の数です。"};
    yenPerKg[static_cast<std::size_t>(m)] = *yen;
  }
  return wirePricesByMaterial(yenPerKg);
}

// Version 2: [{"material", "fromMm", "toMm" (left out: open above), "yenPerKg"}].
Expected<std::vector<WirePriceRow>> readWirePriceRows(const json& root) {
  const auto it = root.find("wirePrices");
  if (it == root.end()) return Failure{quotedKey("wirePrices") + "がありません。"};
  if (!it->is_array()) return Failure{quotedKey("wirePrices") + "が配列ではありません。"};
  if (it->size() > kMaxWirePriceRows) {
    return Failure{quotedKey("wirePrices") + "が多すぎます（" + std::to_string(kMaxWirePriceRows) +
                   " 行まで）。"};
  }
  std::vector<WirePriceRow> rows;
  for (std::size_t i = 0; i < it->size(); ++i) {
    const json& item = (*it)[i];
    const std::string path = rowKey(i);
    if (!item.is_object()) return Failure{quotedKey(path) + "がオブジェクトではありません。"};
    WirePriceRow row;
    const auto word = item.find("material");
    if (word == item.end()) return Failure{quotedKey(path + ".material") + "がありません。"};
    const auto material = word->is_string() ? materialFromWord(word->get<std::string>())
                                            : std::optional<ConductorMaterial>();
    if (!material) {
      return Failure{quotedKey(path + ".material") +
                     "は copper、aluminium、copperCladAluminium85 のどれかです。"};
    }
    row.material = *material;
    const auto from = readNumber(item, "fromMm", path + ".fromMm");
    if (!from) return from.failure();
    row.fromMm = *from;
    if (const auto to = item.find("toMm"); to != item.end() && !to->is_null()) {
      const auto toMm = readNumber(item, "toMm", path + ".toMm");
      if (!toMm) return toMm.failure();
      row.toMm = *toMm;
    }
    const auto yen = readNumber(item, "yenPerKg", path + ".yenPerKg");
    if (!yen) return yen.failure();
    row.yenPerKg = *yen;
    rows.push_back(row);
  }
  if (const auto checked =
          checkWirePrices(rows, [](std::size_t i) { return quotedKey(rowKey(i)); });
      !checked.ok())
    return checked.failure();
  return rows;
}

}  // namespace

std::vector<WirePriceRow> wirePricesByMaterial(const std::array<double, 3>& yenPerKg) {
  std::vector<WirePriceRow> rows;
  rows.reserve(kMaterials.size());
  for (const ConductorMaterial m : kMaterials)
    rows.push_back({m, 0, std::nullopt, yenPerKg[static_cast<std::size_t>(m)]});
  return rows;
}

Expected<void> checkWirePrices(const std::vector<WirePriceRow>& rows,
                               const std::function<std::string(std::size_t)>& rowName) {
  if (rows.size() > kMaxWirePriceRows) {
    return Failure{"線材単価の行が多すぎます（" + std::to_string(kMaxWirePriceRows) +
                   " 行まで）。"};
  }
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const WirePriceRow& row = rows[i];
    // A NaN compares false both ways: it is refused as not 0 or more.
    if (!(row.fromMm >= 0) || !std::isfinite(row.fromMm))
      return Failure{rowName(i) + "の線径（から）は 0 以上の数です。"};
    if (row.toMm && (!(*row.toMm > row.fromMm) || !std::isfinite(*row.toMm)))
      return Failure{rowName(i) + "の線径（まで）が線径（から）より大きくありません。"};
    if (!(row.yenPerKg >= 0) || !std::isfinite(row.yenPerKg))
      return Failure{rowName(i) + "の線材単価は 0 以上の数です。"};
    // Two prices for one wire: which one a coil takes would be a guess.
    for (std::size_t j = 0; j < i; ++j) {
      const WirePriceRow& other = rows[j];
      if (other.material != row.material) continue;
      const bool apart =
          (row.toMm && *row.toMm <= other.fromMm) || (other.toMm && *other.toMm <= row.fromMm);
      if (!apart) {
        const std::string here = rowName(i), there = rowName(j);  // the refused row first
        return Failure{here + "の線径の範囲が" + there + "と重なっています（" +
                       std::string(materialName(row.material)) + "）。"};
      }
    }
  }
  return {};
}

PriceList builtInPriceList() {
  // A small-coil workshop's figures, to be replaced by the user's own:
  // enamelled copper wire at about 1,800 円/kg in the common sizes, dearer
  // below 0.1 mm (drawn further, wound slower at the mill) and a little
  // cheaper from 1 mm; 900 円/kg of aluminium and 1,300 円/kg of
  // copper-clad aluminium in every size; 3 % of the wire lost to leads and
  // trimming; an automatic winder at 1,000 rpm; a minute a piece to load,
  // tape and check; half an hour to set up a lot; 3,000 円/h of labour; no
  // parts until the coil's bobbin and terminals are known; 10 % overhead and
  // 15 % profit; lots of 100, 1,000 and 10,000.
  PriceList list;
  list.wirePrices = {{ConductorMaterial::Copper, 0, 0.1, 2400},
                     {ConductorMaterial::Copper, 0.1, 1.0, 1800},
                     {ConductorMaterial::Copper, 1.0, std::nullopt, 1650},
                     {ConductorMaterial::Aluminium, 0, std::nullopt, 900},
                     {ConductorMaterial::CopperCladAluminium85, 0, std::nullopt, 1300}};
  QuotationTerms& t = list.defaults;
  t.lossPercent = 3;
  t.windingRpm = 1000;
  t.handlingMinutes = 1;
  t.setupMinutes = 30;
  t.labourYenPerHour = 3000;
  t.overheadPercent = 10;
  t.profitPercent = 15;
  t.quantities = {100, 1000, 10000};
  return list;
}

std::string writePriceList(const PriceList& list) {
  nlohmann::ordered_json root;
  root["format"] = kPriceListFormatName;
  root["formatVersion"] = kPriceListFormatVersion;
  root["savedAt"] = list.savedAt;
  nlohmann::ordered_json& rows = root["wirePrices"] = nlohmann::ordered_json::array();
  for (const WirePriceRow& row : list.wirePrices) {
    nlohmann::ordered_json item;
    item["material"] = materialWord(row.material);
    item["fromMm"] = row.fromMm;
    if (row.toMm) item["toMm"] = *row.toMm;
    item["yenPerKg"] = row.yenPerKg;
    rows.push_back(std::move(item));
  }
  root["terms"] = termsJson(list.defaults, false);
  return root.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

Expected<PriceList> readPriceList(std::string_view text) {
  const Expected<VersionedDocument> document = readVersionedDocument(text, kPriceListFile);
  if (!document) return document.failure();
  const json& root = document->root;
  PriceList list;
  auto rows = document->version == 1 ? readWirePricesByMaterial(root) : readWirePriceRows(root);
  if (!rows) return rows.failure();
  list.wirePrices = std::move(rows.value());
  const auto termsObject = readObject(root, "terms", "terms", true);
  if (!termsObject) return termsObject.failure();
  auto terms = readTerms(**termsObject, "terms", std::nullopt);
  if (!terms) return terms.failure();
  if (const auto checked = checkTerms(*terms); !checked.ok())
    return Failure{"単価表の" + checked.message()};
  list.defaults = std::move(terms.value());
  auto savedAt = readText(root, "savedAt", "savedAt", false);
  if (!savedAt) return savedAt.failure();
  list.savedAt = std::move(savedAt.value());
  return list;
}

std::optional<double> bareDiameterMm(const TypedCoil& coil) {
  const TypedNumber n = readTypedNumber(coil.text(InputBox::BareDiameter), units::kMillimetre);
  if (!n.readable() || n.blank || !(n.value > 0) || !std::isfinite(n.value)) return std::nullopt;
  return n.value;
}

std::string wireDiametersText(double fromMm, std::optional<double> toMm) {
  if (!toMm) return fromMm == 0 ? std::string() : "φ" + diameterText(fromMm) + " mm〜";
  if (fromMm == 0) return "φ" + diameterText(*toMm) + " mm 未満";
  return "φ" + diameterText(fromMm) + "〜" + diameterText(*toMm) + " mm";
}

Expected<QuotationTerms> termsFor(const PriceList& list, ConductorMaterial material,
                                  std::optional<double> bareDiameterMm) {
  const auto row =
      std::find_if(list.wirePrices.begin(), list.wirePrices.end(), [&](const WirePriceRow& r) {
        return r.material == material &&
               (bareDiameterMm ? covers(r, *bareDiameterMm) : coversEveryDiameter(r));
      });
  if (row == list.wirePrices.end()) {
    const std::string name(materialName(material));
    if (!bareDiameterMm) {
      return Failure{"素線径(d)が読めないため、線材単価が決まりません（単価表に全線径の" + name +
                     "の行がありません）。素線径を入力するか、見積条件に線材単価を入力して"
                     "ください。"};
    }
    return Failure{"単価表に素線径 " + plainDecimal(*bareDiameterMm) + " mm の" + name +
                   "の線材単価がありません。単価表に行を加えるか、見積条件に線材単価を入力して"
                   "ください。"};
  }
  QuotationTerms terms = list.defaults;
  terms.wireYenPerKg = row->yenPerKg;
  terms.wireMaterial = material;
  terms.wireDiameterFromMm = row->fromMm;
  terms.wireDiameterToMm = row->toMm;
  return terms;
}

namespace {

// Whether the job's own wire price still prices wire of `material` and
// `diameter`: a price is for its material; one taken from a row of the list
// only while the diameter is in the row.
bool ownWirePriceHolds(const QuotationTerms& terms, ConductorMaterial material,
                       std::optional<double> diameter) {
  if (terms.wireMaterial != material) return false;
  if (!terms.wireDiameterFromMm || !diameter) return true;
  return *diameter >= *terms.wireDiameterFromMm &&
         (!terms.wireDiameterToMm || *diameter < *terms.wireDiameterToMm);
}

}  // namespace

Expected<PricingTerms> pricingTerms(const std::optional<QuotationTerms>& jobTerms,
                                    ConductorMaterial material,
                                    std::optional<double> bareDiameterMm,
                                    const std::function<Expected<PriceList>()>& list) {
  if (jobTerms && ownWirePriceHolds(*jobTerms, material, bareDiameterMm))
    return PricingTerms{*jobTerms, WirePriceSource::JobTerms};
  const Expected<PriceList> prices = list();
  if (!prices) return prices.failure();
  const Expected<QuotationTerms> fromList = termsFor(*prices, material, bareDiameterMm);
  if (!fromList) return fromList.failure();
  if (!jobTerms) return PricingTerms{*fromList, WirePriceSource::PriceList};
  // The job's own rates, lots and parts; only the wire is the list's.
  QuotationTerms terms = *jobTerms;
  terms.wireYenPerKg = fromList->wireYenPerKg;
  terms.wireMaterial = material;
  terms.wireDiameterFromMm = fromList->wireDiameterFromMm;
  terms.wireDiameterToMm = fromList->wireDiameterToMm;
  return PricingTerms{terms, WirePriceSource::PriceList};
}

Expected<PricingTerms> pricingTerms(const std::optional<QuotationTerms>& jobTerms,
                                    ConductorMaterial material,
                                    std::optional<double> bareDiameterMm, const PriceList& list) {
  return pricingTerms(jobTerms, material, bareDiameterMm,
                      [&list] { return Expected<PriceList>(list); });
}

bool pricesChangedSince(const PriceList& list, std::string_view jobPriceListSavedAt) {
  return !jobPriceListSavedAt.empty() && jobPriceListSavedAt != list.savedAt;
}

}  // namespace kelvane::job
