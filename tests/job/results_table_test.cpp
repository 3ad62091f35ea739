// The table of inputs and results for the clipboard and for CSV.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/number_text.h"
#include "job/job_form.h"
#include "job/results_table.h"
#include "job_fixtures.h"

namespace kelvane::job {
namespace {

using form::InputBox;

ResultsTable tableOf(const Job& job) {
  form::Form1 form;
  applyJob(job, form);
  return resultsTable(form, job.fields.workingCelsius);
}

// The coil of a window just opened, 計算 pressed, to the byte.
TEST(ResultsTable, DesignCoilAsCsv) {
  EXPECT_EQ(toCsv(tableOf(test::designJob())),
            "\xEF\xBB\xBF"
            "項目,Max,予測 Mid,単位\r\n"
            "巻枠,角形,,\r\n"
            "素材材質,銅線,,\r\n"
            "素線径(d),0.2,,mm\r\n"
            "線仕上外径,0.21,,mm\r\n"
            "巻き数(n),10,,\r\n"
            "リード長さ(L),10,,mm\r\n"
            "基準厚み(T),0.8,,mm\r\n"
            "A,2,,mm\r\n"
            "B,2,,mm\r\n"
            "r1,0.3,,mm\r\n"
            "r2,0.3,,mm\r\n"
            "Tension,60,,\r\n"
            "使用温度,20,,°C\r\n"
            "巻き方(列),同数列巻き--3 X 3,,\r\n"
            "層数,4,,\r\n"
            "厚み,0.735,,mm\r\n"
            "最終層　巻き列,1,,\r\n"
            "A',3.596,,mm\r\n"
            "B',3.511,,mm\r\n"
            "整列部巻高,0.756,,mm\r\n"
            "全長,115.159,115.834,mm\r\n"
            "重量,32.861,33.053,mg\r\n"
            "DCR (20 °C),0.065,0.065,Ω\r\n"
            "クロス部巻高,0.840,0.840,mm\r\n"
            "絶縁部重量,0.445,0.448,mg\r\n"
            "導体部重量,32.416,32.606,mg\r\n");
}

// The same cells, as none of them needs quoting: tabs and bare line feeds.
TEST(ResultsTable, DesignCoilForTheClipboard) {
  const ResultsTable table = tableOf(test::designJob());
  std::string expected = toCsv(table).substr(3);
  for (std::size_t i; (i = expected.find(',')) != std::string::npos;) expected[i] = '\t';
  for (std::size_t i; (i = expected.find("\r\n")) != std::string::npos;) expected.erase(i, 1);
  EXPECT_EQ(toTabSeparated(table), expected);
}

std::vector<std::string> items(const std::vector<TableRow>& rows) {
  std::vector<std::string> names;
  for (const TableRow& r : rows) names.push_back(r.item);
  return names;
}

// Each former lists the boxes and result rows it shows, and names itself.
TEST(ResultsTable, RowsFollowTheFormer) {
  struct Case {
    FormerShape former;
    std::string word;
    std::vector<std::string> inputs;
    std::vector<std::string> outer;  // the outer dimensions among the results
  };
  const std::vector<std::string> common = {"巻枠",      "素材材質",      "素線径(d)",  "線仕上外径",
                                           "巻き数(n)", "リード長さ(L)", "基準厚み(T)"};
  const Case cases[] = {
      {FormerShape::Round, "丸形", {"内径(D)", "Tension"}, {"D'"}},
      {FormerShape::Rectangular, "角形", {"A", "B", "r1", "r2", "Tension"}, {"A'", "B'"}},
      {FormerShape::Fan,
       "扇形",
       {"A", "B", "r1", "r2", "R", "AG", "XX", "Tension"},
       {"A'", "B'", "R'"}},
  };
  for (const Case& c : cases) {
    Job job = test::designJob();
    job.former = c.former;
    const ResultsTable table = tableOf(job);
    std::vector<std::string> inputs = common;
    inputs.insert(inputs.end(), c.inputs.begin(), c.inputs.end());
    inputs.push_back("使用温度");
    EXPECT_EQ(items(table.inputs), inputs);
    EXPECT_EQ(table.inputs[0].max, c.word);
    std::vector<std::string> results = {"巻き方(列)", "層数", "厚み", "最終層　巻き列"};
    results.insert(results.end(), c.outer.begin(), c.outer.end());
    results.insert(results.end(), {"整列部巻高", "全長", "重量", "DCR (20 °C)", "クロス部巻高",
                                   "絶縁部重量", "導体部重量"});
    EXPECT_EQ(items(table.results), results);
  }
}

TEST(ResultsTable, MaterialInWordsAndUnitsFromThePress) {
  Job job = test::designJob();
  job.material = ConductorMaterial::CopperCladAluminium85;
  job.input(InputBox::Turns) = "300";
  const ResultsTable table = tableOf(job);
  EXPECT_EQ(table.inputs[1].max, "銅クラッドアルミニュウム(85%)");
  for (const TableRow& row : table.results) {
    if (row.item == "全長") {
      EXPECT_EQ(row.unit, "m");
    } else if (row.item == "重量" || row.item == "導体部重量") {
      EXPECT_EQ(row.unit, "g");
    }
  }
}

// At a working temperature other than 20 °C the DCR row is followed by both
// resistances at it, scaled from the press's unrounded values by the
// conductor's coefficient. The coil: round former, d 0.2, dw 0.23, 395 turns,
// L 50, T 5, D 10 (9.970 / 9.848 Ω in copper at 20 °C).
TEST(ResultsTable, ResistanceAtTheWorkingTemperature) {
  struct Case {
    ConductorMaterial material;
    double celsius;
    std::vector<TableRow> rows;  // the DCR rows
  };
  const Case cases[] = {
      {ConductorMaterial::Copper,
       75,
       {{"DCR (20 °C)", "9.970", "9.848", "Ω"}, {"DCR (75 °C)", "12.124", "11.976", "Ω"}}},
      {ConductorMaterial::Aluminium,
       -40,
       {{"DCR (20 °C)", "16.081", "15.885", "Ω"}, {"DCR (-40 °C)", "12.193", "12.044", "Ω"}}},
      {ConductorMaterial::CopperCladAluminium85,
       155,
       {{"DCR (20 °C)", "14.728", "14.549", "Ω"}, {"DCR (155 °C)", "22.697", "22.420", "Ω"}}},
      {ConductorMaterial::Copper, 20, {{"DCR (20 °C)", "9.970", "9.848", "Ω"}}},
  };
  for (const Case& c : cases) {
    Job job = test::designJob();
    job.former = FormerShape::Round;
    job.material = c.material;
    job.fields.workingCelsius = c.celsius;
    for (const auto& [b, text] : {std::pair{InputBox::FinishedDiameter, "0.23"},
                                  {InputBox::Turns, "395"},
                                  {InputBox::LeadLength, "50"},
                                  {InputBox::ReferenceThickness, "5"}})
      job.input(b) = text;
    const ResultsTable table = tableOf(job);
    std::vector<TableRow> dcr;
    for (const TableRow& r : table.results)
      if (r.item.starts_with("DCR")) dcr.push_back(r);
    EXPECT_EQ(dcr, c.rows) << c.celsius;
    EXPECT_EQ(table.inputs.back(), (TableRow{"使用温度", plainDecimal(c.celsius), "", "°C"}));
  }
}

// A resistance box that does not hold what the press wrote has nothing to
// scale: typed over, its cell stays empty; cleared by a new material, both do.
TEST(ResultsTable, NoWorkingResistanceForABoxThePressDidNotWrite) {
  form::Form1 form;
  applyJob(test::designJob(), form);
  form.typeText(form::idOf(form::box::DcrMax), "1");
  auto row = [&] { return resultsTable(form, 75).results; };
  auto find = [](const std::vector<TableRow>& rows) {
    return *std::find_if(rows.begin(), rows.end(),
                         [](const TableRow& r) { return r.item == "DCR (75 °C)"; });
  };
  EXPECT_EQ(find(row()).max, "");
  EXPECT_EQ(find(row()).mid, "0.079");
  form.click({"Option3", 1});
  EXPECT_EQ(find(row()), (TableRow{"DCR (75 °C)", "", "", "Ω"}));
}

// Texts from a job file reach the spreadsheet as texts, never as formulas or
// as cells split in two.
TEST(ResultsTable, CellsAreQuotedAndNeverFormulas) {
  const ResultsTable table{{{"a,b", "say \"x\"", "two\nlines", "tab\there"},
                            {"=1+1", "+SUM(A1)", "-2", "@cmd"},
                            {"+1.5", "-1,010.000", "-", "=\"quoted\""},
                            {"\tx", "\r=1", "\n@", "-1e-3"},
                            // Direction controls go, and cannot hide a formula.
                            {"evil\u202Eexe.txt", "\u2066=1+1", "\u200F\u061C-2", "a\xE2\x80"}},
                           {}};
  EXPECT_EQ(toCsv(table),
            "\xEF\xBB\xBF"
            "項目,Max,予測 Mid,単位\r\n"
            "\"a,b\",\"say \"\"x\"\"\",\"two\nlines\",tab\there\r\n"
            "'=1+1,'+SUM(A1),-2,'@cmd\r\n"
            "+1.5,\"-1,010.000\",'-,\"'=\"\"quoted\"\"\"\r\n"
            "'\tx,\"'\r=1\",\"'\n@\",-1e-3\r\n"
            "evilexe.txt,'=1+1,-2,a\xE2\x80\r\n");
  EXPECT_EQ(toTabSeparated(table),
            "項目\tMax\t予測 Mid\t単位\n"
            "a,b\t\"say \"\"x\"\"\"\t\"two\nlines\"\t\"tab\there\"\n"
            "'=1+1\t'+SUM(A1)\t-2\t'@cmd\n"
            "+1.5\t-1,010.000\t'-\t\"'=\"\"quoted\"\"\"\n"
            "\"'\tx\"\t\"'\r=1\"\t\"'\n@\"\t-1e-3\n"
            "evilexe.txt\t'=1+1\t-2\ta\xE2\x80\n");
}

}  // namespace
}  // namespace kelvane::job
