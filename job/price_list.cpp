#include "job/price_list.h"

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

double& wirePrice(PriceList& list, ConductorMaterial m) {
  return list.wireYenPerKg[static_cast<std::size_t>(m)];
}

}  // namespace

PriceList builtInPriceList() {
  // A small-coil workshop's figures, to be replaced by the user's own:
  // enamelled wire at about 1,800 円/kg of copper, 900 円/kg of aluminium
  // and 1,300 円/kg of copper-clad aluminium; 3 % of the wire lost to
  // leads and trimming; an automatic winder at 1,000 rpm; a minute a piece
  // to load, tape and check; half an hour to set up a lot; 3,000 円/h of
  // labour; no parts until the coil's bobbin and terminals are known; 10 %
  // overhead and 15 % profit; lots of 100, 1,000 and 10,000.
  PriceList list;
  wirePrice(list, ConductorMaterial::Copper) = 1800;
  wirePrice(list, ConductorMaterial::Aluminium) = 900;
  wirePrice(list, ConductorMaterial::CopperCladAluminium85) = 1300;
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
  nlohmann::ordered_json& wire = root["wireYenPerKg"];
  for (const ConductorMaterial m : kMaterials)
    wire[std::string(materialWord(m))] = list.wireYenPerKg[static_cast<std::size_t>(m)];
  root["terms"] = termsJson(list.defaults, false);
  return root.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

Expected<PriceList> readPriceList(std::string_view text) {
  const Expected<VersionedDocument> document = readVersionedDocument(text, kPriceListFile);
  if (!document) return document.failure();
  const json& root = document->root;
  PriceList list;
  const auto wire = readObject(root, "wireYenPerKg", "wireYenPerKg", true);
  if (!wire) return wire.failure();
  for (const ConductorMaterial m : kMaterials) {
    const std::string key(materialWord(m));
    const auto yen = readNumber(**wire, key, "wireYenPerKg." + key);
    if (!yen) return yen.failure();
    if (*yen < 0) return Failure{quotedKey("wireYenPerKg." + key) + "が負の数です。"};
    wirePrice(list, m) = *yen;
  }
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

QuotationTerms termsFor(const PriceList& list, ConductorMaterial material) {
  QuotationTerms terms = list.defaults;
  terms.wireYenPerKg = list.wireYenPerKg[static_cast<std::size_t>(material)];
  terms.wireMaterial = material;
  return terms;
}

Expected<PricingTerms> pricingTerms(const std::optional<QuotationTerms>& jobTerms,
                                    ConductorMaterial material,
                                    const std::function<Expected<PriceList>()>& list) {
  if (jobTerms && jobTerms->wireMaterial == material)
    return PricingTerms{*jobTerms, WirePriceSource::JobTerms};
  const Expected<PriceList> prices = list();
  if (!prices) return prices.failure();
  const QuotationTerms fromList = termsFor(*prices, material);
  if (!jobTerms) return PricingTerms{fromList, WirePriceSource::PriceList};
  // The job's own rates, lots and parts; only the wire is the list's.
  QuotationTerms terms = *jobTerms;
  terms.wireYenPerKg = fromList.wireYenPerKg;
  terms.wireMaterial = material;
  return PricingTerms{terms, WirePriceSource::PriceList};
}

PricingTerms pricingTerms(const std::optional<QuotationTerms>& jobTerms, ConductorMaterial material,
                          const PriceList& list) {
  return pricingTerms(jobTerms, material, [&list] { return Expected<PriceList>(list); }).value();
}

bool pricesChangedSince(const PriceList& list, std::string_view jobPriceListSavedAt) {
  return !jobPriceListSavedAt.empty() && jobPriceListSavedAt != list.savedAt;
}

}  // namespace kelvane::job
