#pragma once

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "core/former_shape.h"
#include "core/materials.h"
#include "core/temperature_resistance.h"
#include "form/boxes.h"

namespace kelvane::job {

// What the quotation is for, as the engineer fills it in.
struct JobFields {
  std::string customer;         // 顧客名
  std::string partNumber;       // 品番
  std::string quotationNumber;  // 見積番号
  std::string personInCharge;   // 担当者
  std::string memo;             // メモ, may run over several lines
  // 使用温度, °C: the quotation's outputs give the resistance at it as well.
  double workingCelsius = kReferenceCelsius;
  bool operator==(const JobFields&) const = default;
};

// A quotation job: the form's inputs exactly as typed and the job's own
// fields. The results are not part of it; they are computed again whenever
// the job is opened, so what is shown always comes from this program.
struct Job {
  // The texts of Text1(0) … Text1(13), indexed by form::InputBox.
  std::array<std::string, form::kInputBoxCount> inputs;
  // The shape button that is on; none when a program switched all of them off.
  std::optional<FormerShape> former = FormerShape::Rectangular;
  ConductorMaterial material = ConductorMaterial::Copper;
  JobFields fields;
  // Who saved the job and when; filled in by stampForSaving.
  std::string programVersion;
  std::string savedAt;  // ISO 8601, UTC: 2026-12-08T01:15:30Z

  std::string& input(form::InputBox b) { return inputs[form::indexOf(b)]; }
  const std::string& input(form::InputBox b) const { return inputs[form::indexOf(b)]; }
  bool operator==(const Job&) const = default;
};

// The JSON key of each input box, in box order: "bareDiameter", "turns", …
std::string_view inputKey(form::InputBox b);
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
