// The table of inputs and results for the clipboard and for CSV.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>

#include "core/number_text.h"
#include "core/temperature_resistance.h"
#include "form/form_job.h"
#include "form_fixtures.h"
#include "job/csv_cell.h"
#include "job/resistance_band.h"
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
            "項目,整列巻き計算,クロス込み予測,単位\r\n"
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
            "DCR (20 °C),64.66,65.04,mΩ\r\n"
            "規格DCR最小 (20 °C),60.91,61.26,mΩ\r\n"
            "規格DCR公称 (20 °C),63.20,63.57,mΩ\r\n"
            "規格DCR最大 (20 °C),64.48,64.86,mΩ\r\n"
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
  names.reserve(rows.size());
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
    only(job).coil.former = c.former;
    const ResultsTable table = tableOf(job);
    std::vector<std::string> inputs = common;
    inputs.insert(inputs.end(), c.inputs.begin(), c.inputs.end());
    inputs.emplace_back("使用温度");
    EXPECT_EQ(items(table.inputs), inputs);
    EXPECT_EQ(table.inputs[0].aligned, c.word);
    std::vector<std::string> results = {"巻き方(列)", "層数", "厚み", "最終層　巻き列"};
    results.insert(results.end(), c.outer.begin(), c.outer.end());
    results.insert(
        results.end(),
        {"整列部巻高", "全長", "重量", "DCR (20 °C)", "規格DCR最小 (20 °C)", "規格DCR公称 (20 °C)",
         "規格DCR最大 (20 °C)", "クロス部巻高", "絶縁部重量", "導体部重量"});
    EXPECT_EQ(items(table.results), results);
  }
}

TEST(ResultsTable, MaterialInWordsAndUnitsFromThePress) {
  Job job = test::designJob();
  only(job).coil.material = ConductorMaterial::CopperCladAluminium85;
  only(job).input(InputBox::Turns) = "300";
  const ResultsTable table = tableOf(job);
  EXPECT_EQ(table.inputs[1].aligned, "銅クラッドアルミニュウム(85%)");
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
       {{"DCR (20 °C)", "9.848", "9.970", "Ω"}, {"DCR (75 °C)", "11.976", "12.124", "Ω"}}},
      {ConductorMaterial::Aluminium,
       -40,
       {{"DCR (20 °C)", "15.885", "16.081", "Ω"}, {"DCR (-40 °C)", "12.044", "12.193", "Ω"}}},
      {ConductorMaterial::CopperCladAluminium85,
       155,
       {{"DCR (20 °C)", "14.549", "14.728", "Ω"}, {"DCR (155 °C)", "22.420", "22.697", "Ω"}}},
      {ConductorMaterial::Copper, 20, {{"DCR (20 °C)", "9.848", "9.970", "Ω"}}},
  };
  for (const Case& c : cases) {
    Job job = test::designJob();
    only(job).coil.former = FormerShape::Round;
    only(job).coil.material = c.material;
    job.fields.workingCelsius = c.celsius;
    for (const auto& [b, text] : {std::pair{InputBox::FinishedDiameter, "0.23"},
                                  {InputBox::Turns, "395"},
                                  {InputBox::LeadLength, "50"},
                                  {InputBox::ReferenceThickness, "5"}})
      only(job).input(b) = text;
    const ResultsTable table = tableOf(job);
    std::vector<TableRow> dcr;
    for (const TableRow& r : table.results)
      if (r.item.starts_with("DCR")) dcr.push_back(r);
    EXPECT_EQ(dcr, c.rows) << c.celsius;
    EXPECT_EQ(table.inputs.back(), (TableRow{"使用温度", plainDecimal(c.celsius), "", "°C"}));
  }
}

// A resistance box that does not hold what the press wrote has nothing to
// show or scale: typed over, its cells stay empty; cleared by a new
// material, all of them do.
TEST(ResultsTable, NoResistanceForABoxThePressDidNotWrite) {
  form::Form1 form;
  applyJob(test::designJob(), form);
  form.typeText(form::idOf(form::box::PredictedDcr), "1");
  auto rowOf = [&](std::string_view item) {
    const std::vector<TableRow> rows = resultsTable(form, 75).results;
    return *std::find_if(rows.begin(), rows.end(),
                         [&](const TableRow& r) { return r.item == item; });
  };
  EXPECT_EQ(rowOf("DCR (20 °C)").predicted, "");
  EXPECT_EQ(rowOf("DCR (75 °C)").predicted, "");
  EXPECT_EQ(rowOf("DCR (75 °C)").aligned, "78.63");
  EXPECT_EQ(rowOf("規格DCR公称 (20 °C)").predicted, "");
  EXPECT_EQ(rowOf("規格DCR公称 (20 °C)").aligned, "63.20");
  form.click({"Option3", 1});
  EXPECT_EQ(rowOf("DCR (75 °C)"), (TableRow{"DCR (75 °C)", "", "", "mΩ"}));
  EXPECT_EQ(rowOf("規格DCR最大 (20 °C)"), (TableRow{"規格DCR最大 (20 °C)", "", "", "mΩ"}));
}

// The resistance rows give the press's resistance, not the box's three
// decimals: in mΩ below 1 Ω, at least four significant digits, and each cell
// the pressed value rounded at its last digit. The Max box of the window
// holds the predicted resistance; the outputs give it under クロス込み予測.
TEST(ResultsTable, ResistanceInMilliohmsWithFourSignificantDigits) {
  struct Case {
    const char* what;
    std::vector<std::pair<InputBox, std::string>> inputs;  // on a round former
    ConductorMaterial material;
    double celsius;
    std::string unit;
    std::string aligned, predicted;  // at 20 °C; empty: only the rule is checked
  };
  const Case cases[] = {
      {"2 mm wire, 20 turns",
       {{InputBox::InnerDiameter, "40"},
        {InputBox::BareDiameter, "2"},
        {InputBox::FinishedDiameter, "2.1"},
        {InputBox::Turns, "20"},
        {InputBox::ReferenceThickness, "10"}},
       ConductorMaterial::Copper,
       20,
       "mΩ",
       "16.53",
       "16.65"},
      {"the design wire", {}, ConductorMaterial::Copper, 20, "mΩ", "199.6", "200.0"},
      {"2 mm wire at 155 °C",
       {{InputBox::BareDiameter, "2"},
        {InputBox::FinishedDiameter, "2.1"},
        {InputBox::Turns, "20"},
        {InputBox::ReferenceThickness, "10"}},
       ConductorMaterial::Aluminium,
       155,
       "mΩ",
       "",
       ""},
      {"ohms keep the window's three decimals",
       {{InputBox::FinishedDiameter, "0.23"},
        {InputBox::Turns, "395"},
        {InputBox::LeadLength, "50"},
        {InputBox::ReferenceThickness, "5"}},
       ConductorMaterial::Copper,
       20,
       "Ω",
       "9.848",
       "9.970"},
      {"a fine wire of many turns in kΩ",
       {{InputBox::BareDiameter, "0.02"},
        {InputBox::FinishedDiameter, "0.025"},
        {InputBox::Turns, "200000"},
        {InputBox::ReferenceThickness, "5"}},
       ConductorMaterial::Copper,
       -40,
       "kΩ",
       "",
       ""},
  };
  for (const Case& c : cases) {
    Job job = test::designJob();
    only(job).coil.former = FormerShape::Round;
    only(job).coil.material = c.material;
    job.fields.workingCelsius = c.celsius;
    for (const auto& [b, text] : c.inputs) only(job).input(b) = text;
    form::Form1 form;
    applyJob(job, form);
    ASSERT_TRUE(form.state().resultsCurrent) << c.what;
    const form::FormState& s = form.state();
    const double toOhms = s.units->resistance == ResistanceUnit::Kiloohm ? 1000 : 1;
    const double unitOhms = c.unit == "mΩ" ? 0.001 : c.unit == "kΩ" ? 1000 : 1;
    std::vector<TableRow> dcr;
    for (const TableRow& r : resultsTable(form, c.celsius).results)
      if (r.item.starts_with("DCR")) dcr.push_back(r);
    ASSERT_EQ(dcr.size(), c.celsius == 20 ? 1u : 2u) << c.what;
    if (!c.aligned.empty()) {
      EXPECT_EQ(dcr[0].aligned, c.aligned) << c.what;
      EXPECT_EQ(dcr[0].predicted, c.predicted) << c.what;
    }
    for (const TableRow& row : dcr) {
      EXPECT_EQ(row.unit, c.unit) << c.what;
      const double scale =
          row.item == "DCR (20 °C)" ? 1 : 1 + TemperatureCoefficient(c.material) * (c.celsius - 20);
      const std::pair<std::string, double> cells[] = {
          {row.aligned, s.resistance->aligned * toOhms * scale / unitOhms},
          {row.predicted, s.resistance->predicted * toOhms * scale / unitOhms}};
      for (const auto& [cell, exact] : cells) {
        std::string digits = cell;
        std::erase(digits, ',');
        const double value = std::stod(digits);
        const std::size_t point = digits.find('.');
        const int decimals = point == std::string::npos ? 0 : int(digits.size() - point - 1);
        std::erase(digits, '.');
        const std::size_t lead = digits.find_first_not_of('0');
        EXPECT_GE(digits.size() - std::min(lead, digits.size()), 4u) << c.what << ": " << cell;
        EXPECT_NEAR(value, exact, 0.5000001 * std::pow(10.0, -decimals)) << c.what << ": " << cell;
      }
    }
  }
}

// Beside the DCR, the standard's band at 20 °C: the nominal wire's ρ / (π d²
// / 4) and the limits a wire table gives for the size, over the wire length
// of each column, in the DCR row's unit; none for a conductor without a
// standard resistivity. The note says where the figures come from and by
// how much the form's DCR differs: its resistivity, k and density. A round
// former (D 40, n 50, T 10): 6.32203 m of 0.1 mm wire, one layer; 7.25624 m
// aligned and 7.29191 m with the crossing zone of 1 mm wire.
TEST(ResultsTable, StandardBandBesideTheDcr) {
  struct Case {
    ConductorMaterial material;
    const char* bare;
    const char* finished;
    std::vector<TableRow> band;
    std::vector<std::string> note;  // parts of it
  };
  const auto row = [](const char* bound, const char* aligned, const char* predicted,
                      const char* unit) {
    return TableRow{std::string("規格DCR") + bound + " (20 °C)", aligned, predicted, unit};
  };
  const Case cases[] = {
      // 2.034 · 6.32203 = 12.859; 0.017241 / (π · 0.0025) · 6.32203 = 13.878.
      {ConductorMaterial::Copper,
       "0.1",
       "0.12",
       {row("最小", "12.859", "12.859", "Ω"), row("公称", "13.878", "13.878", "Ω"),
        row("最大", "14.749", "14.749", "Ω")},
       {"公称 2.195 Ω/m、最小 2.034 Ω/m、最大 2.333 Ω/m です",
        "最小・最大は「エナメル銅線 (IEC 60317 グレード1〜3)」の表（SH-wire",
        "規格DCR公称の 1.0269 倍です"}},
      // 0.017241 / (π · 0.25) = 0.021952 Ω/m; no table limits 1 mm.
      {ConductorMaterial::Copper,
       "1",
       "1.1",
       {row("最小", "", "", "mΩ"), row("公称", "159.3", "160.1", "mΩ"), row("最大", "", "", "mΩ")},
       {"1 m 当たりの値は、公称 0.02195 Ω/m です。公称は焼なまし銅の国際標準",
        "最小・最大は空欄です", "体積抵抗率 0.017241 Ω·mm²/m（銅線）",
        "k = 0.9923（素線径 1 mm での値", "規格DCR公称の 0.9923 倍です", "密度 8.96 g/cm³"}},
      // The form's aluminium is 0.02781 Ω·mm²/m, the standard's 0.028264:
      // 0.992308 · 0.02781 / 0.028264 = 0.9764.
      {ConductorMaterial::Aluminium,
       "1",
       "1.1",
       {row("最小", "", "", "mΩ"), row("公称", "261.1", "262.4", "mΩ"), row("最大", "", "", "mΩ")},
       {"61 %IACS", "体積抵抗率 0.02781 Ω·mm²/m（アルミニュウム）", "規格DCR公称の 0.9764 倍です",
        "密度 2.699 g/cm³"}},
      {ConductorMaterial::CopperCladAluminium85,
       "1",
       "1.1",
       {},
       {"規格の体積抵抗率が見当たらないため、示していません", "k = 0.9923", "密度 3.638 g/cm³"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bare);
    Job job = test::designJob();
    only(job).coil.former = FormerShape::Round;
    only(job).coil.material = c.material;
    for (const auto& [b, text] : {std::pair{InputBox::InnerDiameter, "40"},
                                  {InputBox::BareDiameter, c.bare},
                                  {InputBox::FinishedDiameter, c.finished},
                                  {InputBox::Turns, "50"},
                                  {InputBox::ReferenceThickness, "10"}})
      only(job).input(b) = text;
    form::Form1 form;
    applyJob(job, form);
    const std::vector<TableRow> rows = resultsTable(form, 20).results;
    const auto dcr = std::find_if(rows.begin(), rows.end(),
                                  [](const TableRow& r) { return r.item == "DCR (20 °C)"; });
    ASSERT_NE(dcr, rows.end());
    // Right after the DCR row.
    EXPECT_EQ(std::vector<TableRow>(dcr + 1, dcr + 1 + c.band.size()), c.band);
    EXPECT_FALSE((dcr + 1)->item.starts_with("規格") && c.band.empty());
    const std::string note = resistanceNote(*form.state().resistance, *form.state().pressed);
    for (const std::string& part : c.note) EXPECT_NE(note.find(part), std::string::npos) << part;
  }
}

// A later press that stops before the resistances (no former chosen) leaves
// the DCR of the wire before; the band stays with that wire too.
TEST(ResultsTable, StandardBandStaysWithTheWireOfTheDcr) {
  form::Form1 form;
  applyJob(test::designJob(), form);
  const auto bandRows = [&] {
    std::vector<TableRow> band;
    for (const TableRow& r : resultsTable(form, 20).results)
      if (r.item.starts_with("DCR") || r.item.starts_with("規格DCR")) band.push_back(r);
    return band;
  };
  const std::vector<TableRow> before = bandRows();
  ASSERT_EQ(before.size(), 4u);
  for (const auto& [b, text] : {std::pair{InputBox::BareDiameter, "1"},
                                {InputBox::FinishedDiameter, "1.1"},
                                {InputBox::ReferenceThickness, "10"}})
    form.typeText(form::idOf(b), text);
  form.selectFormer(std::nullopt);
  form.click({"Command1", -1});
  ASSERT_EQ(form.state().calc.inputs.bareDiameter, 1);
  EXPECT_EQ(bandRows(), before);
  EXPECT_NE(resistanceNote(*form.state().resistance, *form.state().pressed)
                .find("素線径 0.2 mm の 1 m 当たり"),
            std::string::npos);
}

// Units in the outputs are SI symbols, whatever the window's captions write.
TEST(ResultsTable, UnitsAreSiSymbols) {
  Job job = test::designJob();
  only(job).input(InputBox::BareDiameter) = "1";
  only(job).input(InputBox::FinishedDiameter) = "1.1";
  only(job).input(InputBox::Turns) = "200000";
  only(job).input(InputBox::ReferenceThickness) = "50";
  form::Form1 form;
  applyJob(job, form);
  std::map<std::string, std::string> units;
  for (const TableRow& r : resultsTable(form, 20).results) units[r.item] = r.unit;
  EXPECT_EQ(units["全長"], "km");
  EXPECT_EQ(units["重量"], "kg");
  EXPECT_EQ(units["導体部重量"], "kg");
  EXPECT_EQ(units["DCR (20 °C)"], "kΩ");
}

// The outputs start with the job's fields, the working temperature among
// them rather than among the inputs, and the time they were made.
TEST(ResultsTable, JobFieldsAboveTheTable) {
  Job job = test::designJob();
  job.fields =
      test::jobFields("株式会社サンプル電機", "Q2026-118", "山田 太郎", "メモは出さない", 75);
  only(job).partNumber = "KC-0042";
  only(job).name = "電源トランス";
  form::Form1 form;
  applyJob(job, form);
  const ResultsTable table = resultsTable(form, job.fields, only(job), "2026-12-08 16:30");
  const std::string csv = toCsv(table);
  EXPECT_TRUE(
      csv.starts_with("\xEF\xBB\xBF"
                      "顧客名,株式会社サンプル電機,,\r\n"
                      "見積番号,Q2026-118,,\r\n"
                      "品番,KC-0042,,\r\n"
                      "品名,電源トランス,,\r\n"
                      "担当者,山田 太郎,,\r\n"
                      "使用温度,75,,°C\r\n"
                      "作成日時,2026-12-08 16:30,,\r\n"
                      "\r\n"
                      "項目,整列巻き計算,クロス込み予測,単位\r\n"
                      "巻枠,角形,,\r\n"))
      << csv;
  EXPECT_EQ(csv.find("メモ"), std::string::npos);
  EXPECT_EQ(items(table.inputs).back(), "Tension");
  EXPECT_TRUE(toTabSeparated(table).starts_with("顧客名\t株式会社サンプル電機\t\t\n"));
  // The rest is the table without its fields.
  ResultsTable plain = resultsTable(form, 75);
  plain.inputs.pop_back();
  EXPECT_TRUE(csv.ends_with(toCsv(plain).substr(3)));
  EXPECT_EQ(localMinute(std::chrono::system_clock::time_point{}).size(), 16u);
}

// The clipboard's HTML: every cell escaped; a number as the program writes
// it marked as that number with its decimals, any other text marked as text
// (a part number "1-2" is no date), formulas made inert as in the CSV.
TEST(ResultsTable, HtmlCellsAreNumbersOrText) {
  struct Case {
    std::string cell;
    std::string td;
  };
  const std::string text = R"( x:str sdnum="1041;0;@" style="mso-number-format:'\@'")";
  const Case cases[] = {
      {"0.2",
       "<td x:num=\"0.2\" sdval=\"0.2\" sdnum=\"1041;0;0.0\" "
       "style=\"mso-number-format:'0.0'\">0.2</td>"},
      {"40",
       "<td x:num=\"40\" sdval=\"40\" sdnum=\"1041;0;0\" "
       "style=\"mso-number-format:'0'\">40</td>"},
      {"-1,010.000",
       "<td x:num=\"-1010.000\" sdval=\"-1010.000\" sdnum=\"1041;0;#,##0.000\" "
       "style=\"mso-number-format:'#,##0.000'\">-1,010.000</td>"},
      {"12,345,678",
       "<td x:num=\"12345678\" sdval=\"12345678\" sdnum=\"1041;0;#,##0\" "
       "style=\"mso-number-format:'#,##0'\">12,345,678</td>"},
      {"", "<td></td>"},
      {"1-2", "<td" + text + ">1-2</td>"},
      {"1,00", "<td" + text + ">1,00</td>"},
      {"1,0000", "<td" + text + ">1,0000</td>"},
      {",100", "<td" + text + ">,100</td>"},
      {"1.", "<td" + text + ">1.</td>"},
      {".5", "<td" + text + ">.5</td>"},
      {"10 mm", "<td" + text + ">10 mm</td>"},
      {"2026-12-08 16:30", "<td" + text + ">2026-12-08 16:30</td>"},
      {"<b>A&B</b> \"x\" 'y'",
       "<td" + text + ">&lt;b&gt;A&amp;B&lt;/b&gt; &quot;x&quot; &#39;y&#39;</td>"},
      {"two\nlines", "<td" + text + ">two<br style=\"mso-data-placement:same-cell\">lines</td>"},
      {"=1+1", "<td" + text + ">&#39;=1+1</td>"},
      {" =1+1", "<td" + text + ">&#39; =1+1</td>"},
      {"\uFF1D1+1", "<td" + text + ">&#39;\uFF1D1+1</td>"},
      {"evil\u202Eexe", "<td" + text + ">evilexe</td>"},
  };
  for (const Case& c : cases) {
    const std::string html = toHtml(ResultsTable{{{"A", c.cell, "", ""}}, {}});
    EXPECT_NE(html.find("<tr><td" + text + ">A</td>" + c.td + "<td></td><td></td></tr>\n"),
              std::string::npos)
        << c.cell << "\n"
        << html;
  }
}

// The HTML holds the same rows as the tabs, the heading as headings.
TEST(ResultsTable, HtmlTableOfTheJob) {
  Job job = test::designJob();
  job.fields = test::jobFields("<株式会社> & 子", "Q1", "", "", 20);
  only(job).partNumber = "1-2";
  form::Form1 form;
  applyJob(job, form);
  const ResultsTable table = resultsTable(form, job.fields, only(job), "2026-12-08 16:30");
  const std::string html = toHtml(table);
  EXPECT_TRUE(
      html.starts_with("<html xmlns:x=\"urn:schemas-microsoft-com:office:excel\">\n"
                       "<head><meta charset=\"utf-8\"></head>\n<body>\n<table>\n"));
  EXPECT_NE(html.find("&lt;株式会社&gt; &amp; 子</td>"), std::string::npos);
  EXPECT_NE(
      html.find("<tr><td></td><td></td><td></td><td></td></tr>\n"
                "<tr><th>項目</th><th>整列巻き計算</th><th>クロス込み予測</th><th>単位</th></tr>"),
      std::string::npos);
  std::size_t rows = 0;
  for (std::size_t i = 0; (i = html.find("<tr>", i)) != std::string::npos; ++i) ++rows;
  const std::string tabs = toTabSeparated(table);
  EXPECT_EQ(rows, std::size_t(std::count(tabs.begin(), tabs.end(), '\n')));
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
            "項目,整列巻き計算,クロス込み予測,単位\r\n"
            "\"a,b\",\"say \"\"x\"\"\",\"two\nlines\",tab\there\r\n"
            "'=1+1,'+SUM(A1),-2,'@cmd\r\n"
            "+1.5,\"-1,010.000\",'-,\"'=\"\"quoted\"\"\"\r\n"
            "'\tx,\"'\r=1\",\"'\n@\",-1e-3\r\n"
            "evilexe.txt,'=1+1,-2,a\xE2\x80\r\n");
  EXPECT_EQ(toTabSeparated(table),
            "項目\t整列巻き計算\tクロス込み予測\t単位\n"
            "a,b\t\"say \"\"x\"\"\"\t\"two\nlines\"\t\"tab\there\"\n"
            "'=1+1\t'+SUM(A1)\t-2\t'@cmd\n"
            "+1.5\t-1,010.000\t'-\t\"'=\"\"quoted\"\"\"\n"
            "\"'\tx\"\t\"'\r=1\"\t\"'\n@\"\t-1e-3\n"
            "evilexe.txt\t'=1+1\t-2\ta\xE2\x80\n");
}

// What a spreadsheet passes over before it looks for a formula hides none:
// blanks it may trim, invisible characters, a byte order mark, and the
// full-width signs Japanese input turns into = + - @.
TEST(ResultsTable, FormulasBehindBlanksAndWideSignsAreGuarded) {
  const struct {
    std::string cell, written;
  } cases[] = {
      {" =1+1", "' =1+1"},
      {"   @cmd", "'   @cmd"},
      {"\u3000=1+1", "'\u3000=1+1"},
      {"\u00A0+SUM(A1)", "'\u00A0+SUM(A1)"},
      {"\u200B=1+1", "'\u200B=1+1"},
      {"\u2060\u200D=1", "'\u2060\u200D=1"},
      {"\uFEFF=1+1", "'\uFEFF=1+1"},
      {"\uFF1D1+1", "'\uFF1D1+1"},
      {"\uFF0BSUM(A1)", "'\uFF0BSUM(A1)"},
      {"\uFF0D1", "'\uFF0D1"},
      {"\uFF20cmd", "'\uFF20cmd"},
      {" \u3000\uFF1D1", "' \u3000\uFF1D1"},
      {" \t=1", "' \t=1"},
      // A signed number stays a number behind blanks; text stays as it is.
      {" -2", " -2"},
      {"\u3000+1.5", "\u3000+1.5"},
      {" a=1", " a=1"},
      {"\u3000", "\u3000"},
      {"1\uFF1D1", "1\uFF1D1"},
      {"\uFF10", "\uFF10"},  // a full-width digit
  };
  for (const auto& c : cases) EXPECT_EQ(inertCell(c.cell), c.written) << c.cell;
  // The same guard in the CSV as on the clipboard.
  EXPECT_NE(toCsv(ResultsTable{{{" =1+1", "\uFF1D1", "", ""}}, {}}).find("' =1+1,'\uFF1D1,,"),
            std::string::npos);
}

}  // namespace
}  // namespace kelvane::job
