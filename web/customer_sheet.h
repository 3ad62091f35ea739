#pragma once

// The customer's 見積書 as the page prints it, and the company block it is
// issued under: the texts in the order and the wording of the desktop's PDF
// (ui/customer_quotation.cpp), worked out here so that the page only lays
// them out on A4.

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "core/expected.h"
#include "job/job.h"
#include "job/request_quote.h"

namespace kelvane::web {

// 会社情報: who issues the 見積書, the same for every job, kept in the
// browser's storage and moved between PCs as a small file of its own.
struct CompanyInfo {
  std::string name;       // 会社名
  std::string address;    // 住所
  std::string telephone;  // 電話
  std::string person;     // 担当者, when a job names none of its own
  bool operator==(const CompanyInfo&) const = default;
};

// The company's file: {"format": "kelvane-company", "formatVersion": 1,
// "name", "address", "telephone", "person"}, indented, ending in a newline.
inline constexpr std::string_view kCompanyFormatName = "kelvane-company";
std::string writeCompanyInfo(const CompanyInfo& company);

// The company a text holds, or the one Japanese sentence saying why not:
// not JSON, another format or a newer version, a key that is not a text, a
// text beyond a job's limits. A key left out is an empty text.
Expected<CompanyInfo> readCompanyInfo(std::string_view text);

// A day of the calendar, as the 見積書 dates its issue.
struct CalendarDay {
  int year = 0;
  unsigned month = 0;
  unsigned day = 0;
};

// The day `days` after `from`.
CalendarDay daysAfter(CalendarDay from, int days);

// 「2026年12月9日」.
std::string dayText(CalendarDay day);

// Whether the copy is an issue of its own, its latest 版 printed again
// unchanged (再発行), or a sample (見本), recorded nowhere and marked so
// across its page.
enum class Copy { Issue, Reissue, Draft };

// The 見積書 as the page lays it out: the header, the addressee, the issuer,
// the amount, the items with their totals, the prices by quantity, the
// terms and the remarks, every text as it is printed.
nlohmann::json customerSheet(const CompanyInfo& company, const job::JobFields& fields,
                             const job::RequestQuote& request, CalendarDay issuedOn, Copy copy);

}  // namespace kelvane::web
