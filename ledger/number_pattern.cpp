// Quotation numbers from a pattern: "Q{yyyy}-{nnnn}" gives Q2026-0001,
// Q2026-0002, … and starts again at Q2027-0001 when the year turns, because
// the year is part of the number that the sequence counts within. Nothing
// here asks a database, so that the browser page numbers as the register does.
#include "ledger/number_pattern.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <limits>
#include <optional>

#include "ledger/register.h"

namespace kelvane::ledger {

namespace {

struct Date {
  int year = 0;
  unsigned month = 0;
  unsigned day = 0;
};

std::optional<Date> readDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  const auto number = [&text](std::size_t from, std::size_t length) -> std::optional<int> {
    int n = 0;
    for (std::size_t i = from; i < from + length; ++i) {
      if (text[i] < '0' || text[i] > '9') return std::nullopt;
      n = n * 10 + (text[i] - '0');
    }
    return n;
  };
  const auto year = number(0, 4);
  const auto month = number(5, 2);
  const auto day = number(8, 2);
  if (!year || !month || !day) return std::nullopt;
  const std::chrono::year_month_day date{std::chrono::year(*year),
                                         std::chrono::month(static_cast<unsigned>(*month)),
                                         std::chrono::day(static_cast<unsigned>(*day))};
  if (!date.ok()) return std::nullopt;
  return Date{*year, static_cast<unsigned>(*month), static_cast<unsigned>(*day)};
}

std::string twoDigits(unsigned n) {
  return std::string(1, static_cast<char>('0' + n / 10 % 10)) + static_cast<char>('0' + n % 10);
}

Expected<Expanded> expandImpl(std::string_view pattern, std::string_view today) {
  const std::optional<Date> date = readDate(today);
  if (!date) return Failure{"日付「" + std::string(today) + "」を読めません。"};
  const std::string quoted = "見積番号の形式「" + std::string(pattern) + "」";
  Expanded out;
  bool sequence = false;
  std::string* into = &out.before;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c == '}') return Failure{quoted + "の「}」に対応する「{」がありません。"};
    if (c != '{') {
      *into += c;
      continue;
    }
    const std::size_t close = pattern.find('}', i);
    if (close == std::string_view::npos) {
      return Failure{quoted + "の「{」が閉じていません。"};
    }
    const std::string_view field = pattern.substr(i + 1, close - i - 1);
    if (field == "yyyy") {
      *into += std::to_string(date->year);
    } else if (field == "yy") {
      *into += twoDigits(static_cast<unsigned>(date->year % 100));
    } else if (field == "mm") {
      *into += twoDigits(date->month);
    } else if (!field.empty() && field.find_first_not_of('n') == std::string_view::npos) {
      if (sequence) return Failure{quoted + "に連番が 2 つあります。"};
      sequence = true;
      out.width = field.size();
      into = &out.after;
    } else {
      return Failure{quoted + "の「{" + std::string(field) +
                     "}」は使えません（使えるのは {yyyy} {yy} {mm} と連番の {nnnn} です）。"};
    }
    i = close;
  }
  if (!sequence) return Failure{quoted + "に連番の {nnnn} がありません。"};
  return out;
}

std::size_t characters(std::string_view utf8) {
  std::size_t n = 0;
  for (const char c : utf8) n += (static_cast<unsigned char>(c) & 0xc0) != 0x80 ? 1 : 0;
  return n;
}

}  // namespace

bool isCalendarDay(std::string_view text) { return readDate(text).has_value(); }

Expected<Expanded> expand(std::string_view pattern, std::string_view today) {
  return expandImpl(pattern, today);
}

std::size_t characterCount(std::string_view utf8) { return characters(utf8); }

Expected<std::string> numberFromPattern(std::string_view pattern, std::string_view today,
                                        std::int64_t sequence) {
  auto expanded = expand(pattern, today);
  if (!expanded) return expanded.failure();
  if (sequence < 1) return Failure{"連番は 1 からです。"};
  std::string digits = std::to_string(sequence);
  if (digits.size() < expanded->width) digits.insert(0, expanded->width - digits.size(), '0');
  return expanded->before + digits + expanded->after;
}

Expected<std::int64_t> nextSequenceAmong(std::string_view pattern, const Expanded& e,
                                         const std::vector<std::string>& numbers) {
  std::int64_t highest = 0;
  for (const std::string& number : numbers) {
    // Only the numbers this pattern would write: its text around the digits,
    // at least as many digits as the pattern's, no zero in front of more.
    if (number.size() < e.before.size() + e.after.size() + e.width ||
        !number.starts_with(e.before) || !number.ends_with(e.after)) {
      continue;
    }
    const std::string_view digits = std::string_view(number).substr(
        e.before.size(), number.size() - e.before.size() - e.after.size());
    if (digits.find_first_not_of("0123456789") != std::string_view::npos) continue;
    if (digits.size() > e.width && digits.front() == '0') continue;
    std::int64_t n = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (error != std::errc{} || end != digits.data() + digits.size()) continue;
    highest = std::max(highest, n);
  }
  if (highest == std::numeric_limits<std::int64_t>::max()) {
    return Failure{"見積番号の形式「" + std::string(pattern) + "」の連番を使い切りました。"};
  }
  return highest + 1;
}

}  // namespace kelvane::ledger
