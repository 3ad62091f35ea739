#pragma once

#include <string>
#include <string_view>

namespace kelvane::job {

// Whom the 見積書 is addressed to, split as it is printed: the name on the
// left of the rule and the honorific at its right end.
struct Addressee {
  std::string name;  // 「株式会社サンプル電機 購買部」, 「株式会社サンプル電機 山田 太郎」
  std::string honorific;  // 「御中」 for a company or department, 「様」 for a person, or empty
  bool operator==(const Addressee&) const = default;
};

// The addressee of a customer (a company or department) and, optionally, a
// person there. A person is 「様」, a company or department alone 「御中」.
// A text that already ends in 御中 or 様 is printed as typed, never with a
// second honorific, and a company's own 御中 gives way to the person's 様.
// Blanks around either text, ideographic ones too, are dropped; with neither
// there is no addressee at all, not a lone 御中.
Addressee addresseeOf(std::string_view customer, std::string_view person);

// The addressee on one line: 「株式会社サンプル電機 山田 太郎 様」.
std::string addresseeLine(const Addressee& addressee);

}  // namespace kelvane::job
