#pragma once

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/coil_fields.h"
#include "core/former_shape.h"
#include "core/materials.h"
#include "core/read_coil.h"
#include "core/temperature_resistance.h"
#include "job/issue_record.h"
#include "job/quotation.h"

namespace kelvane::job {

// What the quotation is for, as the engineer fills it in.
struct JobFields {
  std::string customer;  // 顧客名
  // The person at the customer the 見積書 is addressed to (様); empty
  // when it goes to the company or department (御中).
  std::string customerPerson;
  std::string quotationNumber;  // 見積番号
  std::string personInCharge;   // 担当者
  std::string memo;             // メモ, may run over several lines
  // 使用温度, °C: the quotation's outputs give the resistance at it as well.
  double workingCelsius = kReferenceCelsius;
  // The customer's quotation (見積書): its subject, terms and remarks as
  // typed, and how often it has been issued.
  std::string subject;        // 件名
  std::string deliveryTerms;  // 納期
  std::string paymentTerms;   // 支払条件
  std::string remarks;        // 備考, may run over several lines
  int revision = 0;           // 版: 0 until the quotation is first issued
  std::string issuedOn;       // 発行日 of the latest issue, "2026-12-08"; empty until then
  int validDays = 30;         // 有効期限, days from 発行日
  bool operator==(const JobFields&) const = default;
};

// What the customer asked one of an item's results to be, kept from the
// target typed into its box: the coil may change later (another wire), and
// the item then shows whether its results still meet it.
struct Requirement {
  // The result box the target was typed into: the aligned height, the
  // crossed height, the aligned weight or the DCR at 20 °C.
  ResultBox box = ResultBox::AlignedHeight;
  double value = 0;  // in `unit`
  std::string unit;  // SI symbol: "mm", "mg", "g", "kg", "Ω", "kΩ"
  // ±, in % of the value; none: the default (kDefaultTolerancePercent).
  std::optional<double> tolerancePercent;
  bool operator==(const Requirement&) const = default;
};
// How far a result may lie from a requirement that names no tolerance.
inline constexpr double kDefaultTolerancePercent = 5;
// The boxes a requirement can be kept for: the targets the window solves.
// The boxes a requirement is kept for are the targets (kTargetBoxes).

// The tape wrapped under a winding over the first, as typed: the thickness
// of one layer, mm, and the layers wrapped ("0" for none).
struct TypedInsulation {
  std::string thicknessPerLayer = "0";
  std::string layers = "0";
  bool operator==(const TypedInsulation&) const = default;
};

// What a winding over the first is priced with beyond the item's terms: its
// wire's price when typed (none: the price list's for its material and bare
// diameter) and the speed it is wound at (none: the item's 巻線速度; thin
// wire winds slower).
struct WindingTerms {
  std::optional<double> wireYenPerKg;  // 線材単価, 円/kg of its material
  std::optional<double> windingRpm;    // 巻線速度, turns a minute
  bool operator==(const WindingTerms&) const = default;
};

// A winding wound over the first of an item (a transformer's secondary):
// its name, its coil's inputs as typed (its former is the outside of the
// winding below and of the tape under it; the former and sizes it holds
// are not used), the tape under it, and its own prices.
struct UpperWinding {
  std::string name;  // 二次, 三次 …; may be empty
  TypedCoil coil = openingCoil();
  TypedInsulation under;
  WindingTerms terms;
  bool operator==(const UpperWinding&) const = default;
};

// One coil of a quotation: what it is called on the 見積書, the coil's inputs
// exactly as typed, the 見積条件 it is priced with and what the customer
// asked of it. The results are not part of it; they are computed again
// whenever the job is opened, so what is shown always comes from this program.
struct Item {
  std::string partNumber;  // 品番
  std::string name;        // 品名
  TypedCoil coil = openingCoil();
  // 見積条件; none in a job saved before prices were kept, or not priced yet.
  std::optional<QuotationTerms> terms;
  // When the price list the terms were taken from was saved (its "savedAt");
  // empty when the terms were typed rather than taken from a price list.
  std::string priceListSavedAt;
  // The lot of terms.quantities the 見積書 totals (its 数量 on the item's
  // line); the other lots are quoted as prices by quantity beside it.
  std::size_t basisLot = 0;
  // At most one for each target box.
  std::vector<Requirement> requirements;
  // The windings of the item: its own coil is the first, wound on the
  // former; the others are wound over it in order (none for a coil of one
  // winding), at most kMostWindings in all.
  std::string windingName;  // the first winding's name (一次); may be empty
  std::vector<UpperWinding> upperWindings;
  // 層間テープ単価, 円 a layer of the tape between the windings.
  double tapeYenPerLayer = 0;

  std::string& input(InputBox b) { return coil.texts[indexOf(b)]; }
  const std::string& input(InputBox b) const { return coil.text(b); }
  bool operator==(const Item&) const = default;
};

// The most items one job holds.
inline constexpr std::size_t kMaxItems = 100;

// A quotation job: the customer's request, its own fields once and its items,
// one to kMaxItems.
struct Job {
  JobFields fields;
  std::vector<Item> items = {Item{}};
  // Every 版 issued of this quotation, oldest first: what each handed the
  // customer. The register keeps the same, with the job and the PDF.
  std::vector<IssueRecord> issues;
  // Who saved the job and when; filled in by stampForSaving.
  std::string programVersion;
  std::string savedAt;  // ISO 8601, UTC: 2026-12-08T01:15:30Z
  bool operator==(const Job&) const = default;
};

// An input's JSON key is its field's (inputField(b).key: "bareDiameter" …).
// The JSON word of a former shape ("round", "rectangular", "fan") and of a
// material ("copper", "aluminium", "copperCladAluminium85").
std::string_view formerWord(FormerShape shape);
std::string_view materialWord(ConductorMaterial material);
std::optional<FormerShape> formerFromWord(std::string_view word);
std::optional<ConductorMaterial> materialFromWord(std::string_view word);

// The version of this program, as written into saved jobs.
std::string_view programVersion();

// The time as saved in a job: ISO 8601 in UTC to the second.
std::string isoTimestamp(std::chrono::system_clock::time_point time);

// The job as this program saves it at the given time: its version and the
// time filled in.
Job stampForSaving(Job job, std::chrono::system_clock::time_point now);

}  // namespace kelvane::job
