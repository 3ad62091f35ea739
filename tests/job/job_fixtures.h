#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/expected.h"
#include "form/form1.h"
#include "job/job.h"
#include "job/job_form.h"

namespace kelvane::job::test {

// What a test compares of a file written or saved: nothing when done, else
// the failure's message.
inline std::optional<std::string> failureOf(const Expected<void>& done) {
  if (done.ok()) return std::nullopt;
  return done.message();
}

// The job of a window just opened: the design-time texts, rectangular, copper.
inline Job designJob() { return jobFromForm(form::Form1{}, {}); }

struct NamedJob {
  std::string name;
  Job job;
  friend void PrintTo(const NamedJob& j, std::ostream* os) { *os << j.name; }
};

// Jobs that reach every part of the format: each former and material, no
// former at all, texts in Japanese with line breaks, quotes and tabs, texts
// that are not numbers, and empty boxes.
inline std::vector<NamedJob> sampleJobs() {
  using form::InputBox;
  std::vector<NamedJob> jobs;
  jobs.push_back({"Design", designJob()});

  Job round = designJob();
  round.former = FormerShape::Round;
  round.material = ConductorMaterial::Aluminium;
  round.input(InputBox::InnerDiameter) = "12.5";
  round.input(InputBox::Turns) = "120";
  round.fields = {"株式会社サンプル電機",
                  "KC-0042",
                  "Q2026-118",
                  "山田 太郎",
                  "試作3台分。\n納期は来月末。\t\"至急\"",
                  37.5};
  round.programVersion = "0.1.0";
  round.savedAt = "2026-12-08T01:15:30Z";
  jobs.push_back({"RoundAluminiumWithFields", round});

  Job fan = designJob();
  fan.former = FormerShape::Fan;
  fan.material = ConductorMaterial::CopperCladAluminium85;
  fan.input(InputBox::FanRadius) = "40";
  fan.input(InputBox::FanAngle) = "45";
  fan.input(InputBox::FanWideWidth) = "33.1";
  fan.input(InputBox::Tension) = "強め";
  jobs.push_back({"FanCopperClad", fan});

  Job odd = designJob();
  odd.former.reset();
  odd.input(InputBox::BareDiameter) = " 0.2mm";
  odd.input(InputBox::Turns) = "12abc";
  odd.input(InputBox::LeadLength) = "";
  odd.input(InputBox::SideA) = "1,000";
  odd.fields.memo = "𝄞 ☃ ﾊﾝｶｸ";
  jobs.push_back({"NoFormerOddTexts", odd});
  return jobs;
}

}  // namespace kelvane::job::test
