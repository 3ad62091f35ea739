// Whom the 見積書 is addressed to: 御中 for a company or department, 様 for
// a person, an honorific already typed kept and never doubled, nothing for
// nobody.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "job/addressee.h"

namespace kelvane::job {
namespace {

TEST(Addressee, OneHonorificForWhomeverItIsFor) {
  struct Case {
    const char* customer;
    const char* person;
    Addressee printed;
  };
  const std::vector<Case> cases = {
      {"株式会社サンプル電機 購買部", "", {"株式会社サンプル電機 購買部", "御中"}},
      {"株式会社サンプル電機", "山田 太郎", {"株式会社サンプル電機 山田 太郎", "様"}},
      // Typed with its honorific: as typed, once.
      {"山田 太郎 様", "", {"山田 太郎 様", ""}},
      {"株式会社サンプル電機 御中", "", {"株式会社サンプル電機 御中", ""}},
      {"株式会社サンプル電機", "山田 太郎様", {"株式会社サンプル電機 山田 太郎様", ""}},
      // A department's 御中 gives way to the person of it.
      {"サンプル電機 購買部 御中", "山田 太郎", {"サンプル電機 購買部 山田 太郎", "様"}},
      {"サンプル電機 購買部御中", "山田", {"サンプル電機 購買部 山田", "様"}},
      // A person alone is still 様.
      {"", "山田 太郎", {"山田 太郎", "様"}},
      // Blanks left around either text, ideographic ones too, are not printed.
      {"\u3000株式会社サンプル電機 ", " \u3000", {"株式会社サンプル電機", "御中"}},
      {"サンプル電機\t", "\u3000山田\u3000", {"サンプル電機 山田", "様"}},
      {"サンプル電機 様\u3000", "", {"サンプル電機 様", ""}},
      // Nobody: no addressee, never a lone 御中.
      {"", "", {"", ""}},
      {" \u3000", "", {"", ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.customer) + " / " + c.person);
    EXPECT_EQ(addresseeOf(c.customer, c.person), c.printed);
  }
}

TEST(Addressee, OnOneLine) {
  EXPECT_EQ(addresseeLine(addresseeOf("株式会社サンプル電機", "山田 太郎")),
            "株式会社サンプル電機 山田 太郎 様");
  EXPECT_EQ(addresseeLine(addresseeOf("株式会社サンプル電機 購買部", "")),
            "株式会社サンプル電機 購買部 御中");
  EXPECT_EQ(addresseeLine(addresseeOf("山田 太郎 様", "")), "山田 太郎 様");
  EXPECT_EQ(addresseeLine(addresseeOf("", "")), "");
}

}  // namespace
}  // namespace kelvane::job
