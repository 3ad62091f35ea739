#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "core/expected.h"
#include "core/read_coil.h"
#include "job/coil_price.h"
#include "job/job.h"
#include "job/price_list.h"
#include "job/quotation.h"
#include "job/quotation_rows.h"
#include "job/results_table.h"

namespace kelvane::job {

// The one item of a job of one coil, as the tests change it.
inline Item& only(Job& job) { return job.items.front(); }
inline const Item& only(const Job& job) { return job.items.front(); }

}  // namespace kelvane::job

namespace kelvane::job::test {

// What a test compares of a file written or saved: nothing when done, else
// the failure's message.
inline std::optional<std::string> failureOf(const Expected<void>& done) {
  if (done.ok()) return std::nullopt;
  return done.message();
}

// A small transformer coil's terms: 1,500 円/kg of wire with 5 % loss, a
// 1,200 rpm winder, half a minute of handling, half an hour to set up,
// 3,000 円/h; a bobbin and tape; 10 % overhead and 15 % profit.
inline QuotationTerms smallCoilTerms(std::vector<std::int64_t> quantities) {
  QuotationTerms t;
  t.wireYenPerKg = 1500;
  t.lossPercent = 5;
  t.windingRpm = 1200;
  t.handlingMinutes = 0.5;
  t.setupMinutes = 30;
  t.labourYenPerHour = 3000;
  t.parts = {{"ボビン", 35}, {"テープ", 2.5}};
  t.overheadPercent = 10;
  t.profitPercent = 15;
  t.quantities = std::move(quantities);
  return t;
}

// A prototype's terms as the quotation pane and sheet show them: 1,800 円/kg
// of wire with 5 % loss, a 1,200 rpm winder, a minute and a half of handling,
// twenty minutes to set up, 3,000 円/h; a bobbin and tape; 10 % overhead and
// 15 % profit.
inline QuotationTerms prototypeTerms(std::vector<std::int64_t> quantities) {
  QuotationTerms t = smallCoilTerms(std::move(quantities));
  t.wireYenPerKg = 1800;
  t.handlingMinutes = 1.5;
  t.setupMinutes = 20;
  t.parts = {{"ボビン", 25}, {"テープ", 2}};
  return t;
}

// The job of a window just opened: one item of the design-time texts,
// rectangular, copper.
inline Job designJob() { return Job{}; }

// The fields a quotation job had before it was priced; the customer
// quotation's own fields keep their defaults.
inline JobFields jobFields(std::string customer, std::string quotationNumber,
                           std::string personInCharge, std::string memo, double workingCelsius) {
  JobFields fields;
  fields.customer = std::move(customer);
  fields.quotationNumber = std::move(quotationNumber);
  fields.personInCharge = std::move(personInCharge);
  fields.memo = std::move(memo);
  fields.workingCelsius = workingCelsius;
  return fields;
}

struct NamedJob {
  std::string name;
  Job job;
  friend void PrintTo(const NamedJob& j, std::ostream* os) { *os << j.name; }
};

// Jobs that reach every part of the format: each former and material, no
// former at all, texts in Japanese with line breaks, quotes and tabs, texts
// that are not numbers, and empty boxes.
inline std::vector<NamedJob> sampleJobs() {
  using kelvane::InputBox;
  std::vector<NamedJob> jobs;
  jobs.push_back({"Design", designJob()});

  Job round = designJob();
  only(round).coil.former = FormerShape::Round;
  only(round).coil.material = ConductorMaterial::Aluminium;
  only(round).input(InputBox::InnerDiameter) = "12.5";
  only(round).input(InputBox::Turns) = "120";
  round.fields = jobFields("株式会社サンプル電機", "Q2026-118", "山田 太郎",
                           "試作3台分。\n納期は来月末。\t\"至急\"", 37.5);
  only(round).partNumber = "KC-0042";
  only(round).name = "電源トランス";
  round.programVersion = "0.1.0";
  round.savedAt = "2026-12-08T01:15:30Z";
  jobs.push_back({"RoundAluminiumWithFields", round});

  Job fan = designJob();
  only(fan).coil.former = FormerShape::Fan;
  only(fan).coil.material = ConductorMaterial::CopperCladAluminium85;
  only(fan).input(InputBox::FanRadius) = "40";
  only(fan).input(InputBox::FanAngle) = "45";
  only(fan).input(InputBox::FanWideWidth) = "33.1";
  only(fan).input(InputBox::Tension) = "強め";
  jobs.push_back({"FanCopperClad", fan});

  Job odd = designJob();
  only(odd).coil.former.reset();
  only(odd).input(InputBox::BareDiameter) = " 0.2mm";
  only(odd).input(InputBox::Turns) = "12abc";
  only(odd).input(InputBox::LeadLength) = "";
  only(odd).input(InputBox::SideA) = "1,000";
  odd.fields.memo = "𝄞 ☃ ﾊﾝｶｸ";
  jobs.push_back({"NoFormerOddTexts", odd});

  // Priced and issued: terms taken from a price list, every quotation field.
  Job priced = round;
  priced.fields.subject = "電源トランス用コイル 試作";
  priced.fields.deliveryTerms = "受注後 4 週間";
  priced.fields.paymentTerms = "月末締め翌月末払い";
  priced.fields.remarks = "価格は税抜きです。\n梱包費を含みます。";
  priced.fields.revision = 3;
  priced.fields.issuedOn = "2026-12-08";
  priced.fields.validDays = 60;
  only(priced).terms = QuotationTerms{1234.5,
                                      2.5,
                                      850,
                                      0.75,
                                      45,
                                      3600,
                                      {{"ボビン EE-19", 38.4}, {"ワニス", 0.125}},
                                      12.5,
                                      0,
                                      {1, 100, 1000, 10000, 1000000000},
                                      ConductorMaterial::Copper,
                                      0.1,
                                      0.3};
  only(priced).terms->wireMaterial = only(priced).coil.material;  // priced for its own aluminium
  only(priced).priceListSavedAt = "2026-12-01T09:00:00Z";
  jobs.push_back({"PricedAndIssued", priced});

  // A customer's request of three coils, each with its names, terms, the
  // lot the 見積書 quotes and what the customer asked of it.
  Job request = priced;
  request.items.push_back(designJob().items.front());
  request.items.push_back(only(fan));
  request.items[1].partNumber = "KC-0043";
  request.items[1].name = "チョーク \"B\"";
  request.items[1].terms = smallCoilTerms({100, 1000});
  request.items[1].basisLot = 1;
  request.items[1].requirements = {{ResultBox::PredictedDcr, 15, "Ω", 10},
                                   {ResultBox::AlignedWeight, 40, "g", std::nullopt}};
  request.items[2].name = "扇形コイル";
  request.items[2].requirements = {{ResultBox::CrossHeight, 3.5, "mm", 2.5}};
  // Issued twice: the history keeps what each 版 handed the customer.
  request.issues = {{"Q2026-118",
                     2,
                     "2026-12-01",
                     "2027-01-30",
                     "東和電機 御中",
                     "電源トランス用コイル 試作",
                     "山田",
                     {{"KC-0042", "電源トランス", 1000, 12345, 123450}},
                     123450,
                     12345,
                     135795},
                    {"Q2026-118",
                     3,
                     "2026-12-08",
                     "2027-02-06",
                     "東和電機 御中",
                     "電源トランス用コイル 試作",
                     "山田",
                     {{"KC-0042", "電源トランス", 1000, 12000, 120000},
                      {"KC-0043", "チョーク \"B\"", 1000, 5050, 50500}},
                     170500,
                     17050,
                     187550}};
  jobs.push_back({"ThreeItemsWithRequirements", request});

  // A transformer: a primary and two secondaries on one round bobbin, tape
  // between them, the second secondary's wire priced as typed and wound
  // slower.
  Job transformer = priced;
  Item& coil = only(transformer);
  coil.windingName = "一次";
  UpperWinding secondary;
  secondary.name = "二次";
  secondary.coil.material = ConductorMaterial::Aluminium;
  secondary.coil.texts[indexOf(InputBox::BareDiameter)] = "0.5";
  secondary.coil.texts[indexOf(InputBox::FinishedDiameter)] = "0.55";
  secondary.coil.texts[indexOf(InputBox::Turns)] = "40";
  secondary.coil.texts[indexOf(InputBox::ReferenceThickness)] = "1.2";
  secondary.under = {"0.05", "2"};
  UpperWinding tertiary = secondary;
  tertiary.name = "";
  tertiary.coil.material = ConductorMaterial::Copper;
  tertiary.under = {"０．０２５", "0"};
  tertiary.terms = {1980.5, 400};
  coil.upperWindings = {secondary, tertiary};
  coil.tapeYenPerLayer = 1.25;
  jobs.push_back({"TransformerOfThreeWindings", transformer});

  // Fields of the quotation typed, prices not yet worked out.
  Job unpriced = designJob();
  unpriced.fields.subject = "件名だけ";
  only(unpriced).terms = QuotationTerms{};
  jobs.push_back({"TermsEmpty", unpriced});
  return jobs;
}

struct NamedPriceList {
  std::string name;
  PriceList list;
  friend void PrintTo(const NamedPriceList& p, std::ostream* os) { *os << p.name; }
};

// Price lists that reach every part of their format: the built-in one, and
// a workshop's own with wire priced by diameter (a row open above, one that
// leaves diameters unpriced), parts named in Japanese, fractions of a yen,
// five lot sizes and a free wire.
inline std::vector<NamedPriceList> samplePriceLists() {
  std::vector<NamedPriceList> lists;
  lists.push_back({"BuiltIn", builtInPriceList()});
  PriceList own = builtInPriceList();
  own.wirePrices = {{ConductorMaterial::Copper, 0, 0.2, 2800.5},
                    {ConductorMaterial::Copper, 0.2, 1.0, 2150.5},
                    {ConductorMaterial::Copper, 1.0, std::nullopt, 1950},
                    {ConductorMaterial::Aluminium, 0, std::nullopt, 0},
                    {ConductorMaterial::CopperCladAluminium85, 0.05, 0.5, 1333.25}};
  own.defaults.lossPercent = 2.5;
  own.defaults.windingRpm = 850;
  own.defaults.handlingMinutes = 0.75;
  own.defaults.setupMinutes = 45;
  own.defaults.labourYenPerHour = 3600;
  own.defaults.parts = {{"ボビン EE-19", 38.4}, {"テープ \"黄\"", 1.25}, {"端子\tピン", 0}};
  own.defaults.overheadPercent = 12.5;
  own.defaults.profitPercent = 0;
  own.defaults.quantities = {1, 50, 500, 5000, 1000000000};
  own.savedAt = "2026-12-08T01:15:30Z";
  lists.push_back({"WorkshopOwn", own});
  return lists;
}

}  // namespace kelvane::job::test
