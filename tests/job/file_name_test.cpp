// The name the dialogs offer for a job never saved: from 見積番号 and 品番,
// whatever the fields hold.
#include <gtest/gtest.h>

#include "job/file_name.h"

namespace kelvane::job {
namespace {

struct NameCase {
  const char* what;
  std::string quotationNumber;
  std::string partNumber;
  std::string expected;  // with the suffix "kelvane"
};

TEST(SuggestedFileName, FromQuotationAndPartNumber) {
  const NameCase cases[] = {
      {"both", "Q2026-118", "AB-12", "Q2026-118_AB-12.kelvane"},
      {"quotation number alone", "Q2026-118", "", "Q2026-118.kelvane"},
      {"part number alone", "", "AB-12", "AB-12.kelvane"},
      {"neither", "", "", "無題.kelvane"},
      {"blanks only", " \t", "\u3000", "無題.kelvane"},
      {"Japanese kept", "見積２０２６", "コイルＡ", "見積２０２６_コイルＡ.kelvane"},
      {"blanks trimmed, inner ones kept", "  Q 1\u3000", "\u3000AB 12 ", "Q 1_AB 12.kelvane"},
      {"a path is no path", "../../etc/passwd", "a\\b", "_.._etc_passwd_a_b.kelvane"},
      {"every refused character", "a/b\\c:d*e?f\"g<h>i|j", "", "a_b_c_d_e_f_g_h_i_j.kelvane"},
      {"control characters inside", "Q1\nQ2\x7f",
       "A\xC2\x85"
       "B",
       "Q1_Q2_A_B.kelvane"},
      {"control characters at the ends trimmed", "\x01Q1\r\n", "", "Q1.kelvane"},
      {"direction controls dropped", "Q1\u202Egpj.exe", "", "Q1gpj.exe.kelvane"},
      {"a leading dot would hide the file", "..", "", "無題.kelvane"},
      {"dots at the ends", ".Q1.", "AB.", "Q1._AB.kelvane"},
      {"characters refused only", "/", ":", "___.kelvane"},
  };
  for (const NameCase& c : cases) {
    Job job;
    job.fields.quotationNumber = c.quotationNumber;
    job.items.front().partNumber = c.partNumber;
    EXPECT_EQ(suggestedFileName(job, "kelvane"), c.expected) << c.what;
  }
}

// The customer's 見積書 and the internal 見積計算書 are never offered under
// one name.
TEST(SuggestedFileName, EachDocumentHasItsOwnName) {
  Job job;
  job.fields.quotationNumber = "Q2026-0412";
  job.items.front().partNumber = "SD-B036";
  EXPECT_EQ(suggestedFileName(job, "pdf", kCustomerQuotationDocument),
            "Q2026-0412_SD-B036_見積書.pdf");
  EXPECT_EQ(suggestedFileName(job, "pdf", kCostSheetDocument), "Q2026-0412_SD-B036_見積計算書.pdf");
  EXPECT_EQ(suggestedFileName(Job{}, "pdf", kCostSheetDocument), "無題_見積計算書.pdf");
  // A request of several items is named by its quotation number alone.
  Job request = job;
  request.items.push_back(request.items.front());
  EXPECT_EQ(suggestedFileName(request, "pdf", kCustomerQuotationDocument), "Q2026-0412_見積書.pdf");
  job.items.front().partNumber = std::string(3000, 'P');
  const std::string name = suggestedFileName(job, "pdf", kCostSheetDocument);
  EXPECT_LE(name.size(), 255u);
  EXPECT_TRUE(name.ends_with("P_見積計算書.pdf")) << name;
}

// A field of thousands of characters still gives a name the file system
// takes, cut between characters.
TEST(SuggestedFileName, LongFieldsAreCutAtAWholeCharacter) {
  Job job;
  job.fields.quotationNumber = std::string(150, 'Q');
  for (int i = 0; i < 3000; ++i) job.items.front().partNumber += "品";  // three bytes each
  const std::string name = suggestedFileName(job, "pdf");
  EXPECT_LE(name.size(), 255u);
  EXPECT_TRUE(name.starts_with(std::string(150, 'Q') + "_品"));
  EXPECT_TRUE(name.ends_with("品.pdf")) << name;
}

}  // namespace
}  // namespace kelvane::job
