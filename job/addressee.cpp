#include "job/addressee.h"

namespace kelvane::job {
namespace {

constexpr std::string_view kCompanyHonorific = "御中";
constexpr std::string_view kPersonHonorific = "様";

// Blanks as a person leaves them around a name: spaces, tabs, line breaks
// and the ideographic space U+3000.
std::size_t blankAtEnd(std::string_view text) {
  if (text.empty()) return 0;
  const char last = text.back();
  if (last == ' ' || last == '\t' || last == '\r' || last == '\n') return 1;
  if (text.ends_with("\u3000")) return 3;
  return 0;
}

std::size_t blankAtStart(std::string_view text) {
  if (text.empty()) return 0;
  const char first = text.front();
  if (first == ' ' || first == '\t' || first == '\r' || first == '\n') return 1;
  if (text.starts_with("\u3000")) return 3;
  return 0;
}

std::string_view trimmed(std::string_view text) {
  while (const std::size_t n = blankAtStart(text)) text.remove_prefix(n);
  while (const std::size_t n = blankAtEnd(text)) text.remove_suffix(n);
  return text;
}

bool endsWithHonorific(std::string_view text) {
  return text.ends_with(kCompanyHonorific) || text.ends_with(kPersonHonorific);
}

}  // namespace

Addressee addresseeOf(std::string_view customer, std::string_view person) {
  std::string_view company = trimmed(customer);
  const std::string_view who = trimmed(person);
  if (who.empty()) {
    if (company.empty() || endsWithHonorific(company)) return {std::string(company), {}};
    return {std::string(company), std::string(kCompanyHonorific)};
  }
  // 「購買部 御中」 with a person of it becomes 「購買部 山田 太郎 様」.
  if (company.ends_with(kCompanyHonorific))
    company = trimmed(company.substr(0, company.size() - kCompanyHonorific.size()));
  std::string name(company);
  if (!name.empty()) name += ' ';
  if (endsWithHonorific(who)) return {name + std::string(who), {}};
  return {name + std::string(who), std::string(kPersonHonorific)};
}

std::string addresseeLine(const Addressee& addressee) {
  if (addressee.honorific.empty()) return addressee.name;
  return addressee.name + ' ' + addressee.honorific;
}

}  // namespace kelvane::job
