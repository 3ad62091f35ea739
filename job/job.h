#pragma once

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "core/coil_fields.h"
#include "core/former_shape.h"
#include "core/materials.h"
#include "core/temperature_resistance.h"
#include "job/quotation.h"

namespace kelvane::job {

// What the quotation is for, as the engineer fills it in.
struct JobFields {
  std::string customer;  // 顧客名
  // The person at the customer the 見積書 is addressed to (様); empty
  // when it goes to the company or department (御中).
  std::string customerPerson;
  std::string partNumber;       // 品番
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

// A quotation job: the coil's inputs exactly as typed and the job's own
// fields. The results are not part of it; they are computed again whenever
// the job is opened, so what is shown always comes from this program.
struct Job {
  // The input texts as typed, indexed by InputBox.
  std::array<std::string, kInputBoxCount> inputs;
  // The shape button that is on; none when a program switched all of them off.
  std::optional<FormerShape> former = FormerShape::Rectangular;
  ConductorMaterial material = ConductorMaterial::Copper;
  JobFields fields;
  // 見積条件; none in a job saved before prices were kept, or not priced yet.
  std::optional<QuotationTerms> terms;
  // When the price list the terms were taken from was saved (its "savedAt");
  // empty when the terms were typed rather than taken from a price list.
  std::string priceListSavedAt;
  // Who saved the job and when; filled in by stampForSaving.
  std::string programVersion;
  std::string savedAt;  // ISO 8601, UTC: 2026-12-08T01:15:30Z

  std::string& input(InputBox b) { return inputs[indexOf(b)]; }
  const std::string& input(InputBox b) const { return inputs[indexOf(b)]; }
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
