#include "customer_sheet.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "job/addressee.h"
#include "job/json_fields.h"
#include "job/money_text.h"
#include "job/printable_text.h"
#include "job/quotation_text.h"

namespace kelvane::web {
namespace {

using nlohmann::json;

constexpr job::FileKind kCompanyFile{"会社情報", kCompanyFormatName, 1};

// A text as it may leave the program on paper.
std::string printed(std::string_view text) { return job::withoutDirectionControls(text); }

// 「Q2026-0012（第2版）」; a sample has no 版 of its own.
std::string numberWithRevision(const job::JobFields& fields, Copy copy) {
  std::string revision = copy == Copy::Draft
                             ? std::string("見本")
                             : "第" + std::to_string(std::max(1, fields.revision)) + "版";
  if (copy == Copy::Reissue) revision += "・再発行";
  if (fields.quotationNumber.empty()) return revision;
  return printed(fields.quotationNumber) + "（" + revision + "）";
}

// The quantity the totals are of, said once for the customer: a single
// item's quantity, or the lines of several.
std::string basisNote(const job::RequestQuote& request, std::string_view before,
                      std::string_view after, const std::string& items) {
  if (request.items.size() == 1)
    return std::string(before) + job::quantityText(request.items.front().basis().quantity) +
           std::string(after);
  return items;
}

// The item's names as its line gives them: 品番 and 品名, or what stands for
// a coil without either.
std::string namesOf(const job::QuotedItem& item) {
  std::string names = printed(item.partNumber);
  if (!item.partNumber.empty() && !item.name.empty()) names += ' ';
  names += printed(item.name);
  return names.empty() ? "巻線コイル" : names;
}

json lotRow(const std::string& names, const job::LotPrice& lot) {
  return {names, job::quantityText(lot.quantity) + " 個", job::unitPriceText(lot.unitPriceSen),
          job::yenText(lot.amountYen)};
}

}  // namespace

std::string writeCompanyInfo(const CompanyInfo& company) {
  nlohmann::ordered_json file = {
      {"format", kCompanyFormatName},   {"formatVersion", kCompanyFile.version},
      {"name", company.name},           {"address", company.address},
      {"telephone", company.telephone}, {"person", company.person}};
  return file.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

Expected<CompanyInfo> readCompanyInfo(std::string_view text) {
  const Expected<job::VersionedDocument> document = job::readVersionedDocument(text, kCompanyFile);
  if (!document) return document.failure();
  CompanyInfo company;
  for (auto [key, value] :
       {std::pair{"name", &company.name}, std::pair{"address", &company.address},
        std::pair{"telephone", &company.telephone}, std::pair{"person", &company.person}}) {
    Expected<std::string> read = job::readText(document->root, key, key, false);
    if (!read) return Failure{"会社情報を読めません。" + read.message()};
    *value = std::move(read.value());
  }
  return company;
}

CalendarDay daysAfter(CalendarDay from, int days) {
  using namespace std::chrono;
  const year_month_day later{sys_days{year{from.year} / month{from.month} / day{from.day}} +
                             std::chrono::days{days}};
  return {int(later.year()), unsigned(later.month()), unsigned(later.day())};
}

std::string dayText(CalendarDay d) {
  return std::to_string(d.year) + "年" + std::to_string(d.month) + "月" + std::to_string(d.day) +
         "日";
}

json customerSheet(const CompanyInfo& company, const job::JobFields& fields,
                   const job::RequestQuote& request, CalendarDay issuedOn, Copy copy) {
  const CalendarDay until = daysAfter(issuedOn, fields.validDays);
  const std::string days = std::to_string(fields.validDays);
  const job::Addressee to = job::addresseeOf(fields.customer, fields.customerPerson);

  // Who issues it: the company, its address, telephone and the person in
  // charge (the job's own, else the company's).
  const std::string person =
      printed(fields.personInCharge.empty() ? company.person : fields.personInCharge);
  json issuerLines = json::array();
  if (!company.address.empty()) issuerLines.push_back(printed(company.address));
  if (!company.telephone.empty()) issuerLines.push_back("TEL " + printed(company.telephone));
  if (!person.empty()) issuerLines.push_back("担当 " + person);

  json lines = json::array();
  for (const job::QuotedItem& item : request.items)
    lines.push_back(lotRow(namesOf(item), item.basis()));

  // The other lots of each item: what a larger or smaller order would cost
  // each, apart from the total so that nobody adds them to it. An item's
  // names stand on its first lot only.
  json byQuantity = json::array();
  for (const job::QuotedItem& item : request.items) {
    if (item.quote.lots.size() < 2) continue;
    bool first = true;
    for (const job::LotPrice& lot : item.quote.lots) {
      byQuantity.push_back(lotRow(first ? namesOf(item) : std::string(), lot));
      first = false;
    }
  }

  const std::string itemsCount = std::to_string(request.items.size());
  return json{
      {"title", "見　積　書"},
      {"draft", copy == Copy::Draft},
      {"head", json::array({json::array({"見積番号", numberWithRevision(fields, copy)}),
                            json::array({"発行日", dayText(issuedOn)}),
                            json::array({"有効期限", dayText(until) + "（" + days + "日間）"})})},
      {"continued", numberWithRevision(fields, copy)},
      {"addressee", {{"name", printed(to.name)}, {"honorific", to.honorific}}},
      {"greeting", "下記のとおりお見積り申し上げます。"},
      {"subject", printed(fields.subject)},
      // A quotation of one coil names it at the top as well.
      {"partNumber",
       request.items.size() == 1 ? json(printed(request.items.front().partNumber)) : json(nullptr)},
      {"amountCaption", "御見積金額（税込）"},
      {"amount", job::yenText(request.totalYen)},
      {"amountNote", request.items.empty()
                         ? std::string()
                         : basisNote(request, "数量 ", " 個の合計金額です。",
                                     "明細 " + itemsCount + " 品目の合計金額です。")},
      {"company", printed(company.name)},
      {"issuer", issuerLines},
      {"stamps", {"作成", "承認"}},
      {"itemsTitle", "明細"},
      {"heading", {"品番・品名", "数量", "単価（税抜）", "金額（税抜）"}},
      {"lines", lines},
      {"totalsNote", basisNote(request, "小計・消費税・合計は数量 ", " 個の場合です。",
                               "小計・消費税・合計は各品目の上記数量での金額です。")},
      {"totals", json::array({json::array({"小計（税抜）", job::yenText(request.subtotalYen)}),
                              json::array({job::kTaxCaption, job::yenText(request.taxYen)}),
                              json::array({"合計", job::yenText(request.totalYen)})})},
      {"byQuantityTitle", "数量別単価（参考）"},
      {"byQuantityNote",
       "ご注文数量による単価の目安です。上記の小計・消費税・合計および御見積金額には含まれません"
       "。"},
      {"byQuantity", byQuantity},
      {"terms", json::array({json::array({"納期", printed(fields.deliveryTerms)}),
                             json::array({"支払条件", printed(fields.paymentTerms)}),
                             json::array({"有効期限", "発行日より" + days + "日間（" +
                                                          dayText(until) + "まで）"})})},
      {"remarksTitle", "備考"},
      {"remarks", printed(fields.remarks)}};
}

}  // namespace kelvane::web
