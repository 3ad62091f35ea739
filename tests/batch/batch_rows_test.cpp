#include <gtest/gtest.h>

#include <malloc.h>

#include <numeric>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "batch_test_support.h"
#include "form/form_job.h"
#include "job/csv_cell.h"
#include "tests/job/job_fixtures.h"
#include "tools/batch/batch.h"

namespace kelvane::batch {
namespace {

std::string join(const std::vector<std::string>& cells) {
  std::string line;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) line += ',';
    job::appendQuotedCell(line, cells[i]);
  }
  return line;
}

// The result cells the form gives for a job opened as the window opens it.
std::vector<std::string> formCells(const job::Job& job) {
  form::Form1 form;
  form::applyJob(job, form);
  const form::FormState& s = form.state();
  std::vector<std::string> cells(s.resultTexts.begin(), s.resultTexts.end());
  for (const form::Caption c :
       {form::Caption::LengthUnit, form::Caption::WeightUnit, form::Caption::ResistanceUnit}) {
    cells.push_back(s.caption(c));
  }
  std::string error;
  for (const std::string& m : s.messages) error += (error.empty() ? "" : "\n") + m;
  cells.push_back(error);
  return cells;
}

// Coils of every former and material, most of them typical, some refused by
// the press, with the cells written in every way a file may write them.
TEST(BatchRows, EveryRowGivesWhatTheFormGivesForItsJob) {
  std::mt19937 random(14);
  auto pick = [&](const std::vector<std::string>& v) {
    return v[std::uniform_int_distribution<std::size_t>(0, v.size() - 1)(random)];
  };
  const std::vector<std::vector<std::string>> formerCells = {{"0", "丸", "丸形", "round"},
                                                             {"1", "角", "角形", "rectangular", ""},
                                                             {"2", "扇", "扇形", "fan"}};
  const std::vector<std::vector<std::string>> materialCells = {
      {"0", "銅線", "copper", ""},
      {"1", "アルミニュウム", "aluminium"},
      {"2", "銅クラッドアルミニュウム(85%)", "copperCladAluminium85"}};

  // The header in an order of its own, each input named by the window's
  // caption or the job file's name, with a column of the user's.
  std::vector<std::size_t> order(inputColumns().size());
  std::iota(order.begin(), order.end(), 0);
  std::shuffle(order.begin(), order.end(), random);
  std::vector<std::string> header;
  header.reserve(order.size() + 1);
  for (const std::size_t i : order) {
    header.push_back(random() % 2 ? inputColumns()[i] : jobFileColumns()[i]);
  }
  header.insert(header.begin() + 3, "備考");
  std::string input = join(header) + "\r\n";
  std::vector<job::Job> jobs;
  std::vector<std::string> notes;
  const form::Form1 fresh;
  for (int row = 0; row < 700; ++row) {
    job::Job job;
    only(job).coil.texts = fresh.state().inputTexts;
    const double d = std::uniform_real_distribution<double>(0.05, 1.2)(random);
    only(job).input(form::box::BareDiameter) = std::to_string(d).substr(0, 5);
    // One row in twenty has a finished diameter below the bare one: refused.
    const double dw = row % 20 == 7 ? d * 0.9 : d * 1.08;
    only(job).input(form::box::FinishedDiameter) = std::to_string(dw).substr(0, 5);
    only(job).input(form::box::Turns) =
        std::to_string(std::uniform_int_distribution(100, 2000)(random));
    only(job).input(form::box::ReferenceThickness) = pick({"5", "8", "12.5", "20"});
    only(job).input(form::box::InnerDiameter) = pick({"8", "10", "25"});
    only(job).input(form::box::SideA) = pick({"6", "12"});
    only(job).input(form::box::CornerR2) = pick({"", "0.5"});
    only(job).input(form::box::FanAngle) = pick({"30", "60", "90"});
    const int former = row % 3, material = (row / 3) % 3;
    only(job).coil.former = static_cast<FormerShape>(former);
    only(job).coil.material = static_cast<ConductorMaterial>(material);
    jobs.push_back(job);
    notes.push_back(row % 50 == 0 ? "memo, \"quoted\"\nsecond line" : "n" + std::to_string(row));

    std::vector<std::string> cells;
    for (std::size_t c = 0; c < header.size(); ++c) {
      const std::size_t input = c < 3 ? order[c] : c == 3 ? form::kInputBoxCount + 2 : order[c - 1];
      if (input == form::kInputBoxCount) {
        cells.push_back(pick(formerCells[former]));
      } else if (input == form::kInputBoxCount + 1) {
        cells.push_back(pick(materialCells[material]));
      } else if (input == form::kInputBoxCount + 2) {
        cells.push_back(notes.back());
      } else {
        cells.push_back(only(job).coil.texts[input]);
      }
    }
    input += join(cells) + (row % 2 ? "\r\n" : "\n");
  }

  // Handed over in odd pieces, computed on more threads than rows need.
  const BatchRun run = runOn(input, 997, 3, ResultStyle::BoxTexts);
  ASSERT_TRUE(run.summary.ok()) << run.summary.message();
  EXPECT_EQ(run.summary->rows, jobs.size());
  EXPECT_EQ(run.summary->failedRows, 35u);
  const auto rows = outputRows(run.output);
  ASSERT_EQ(rows.size(), jobs.size());
  for (std::size_t i = 0; i < jobs.size(); ++i) {
    SCOPED_TRACE("row " + std::to_string(i + 2));
    ASSERT_EQ(rows[i].size(), header.size() + resultColumns(ResultStyle::BoxTexts).size());
    EXPECT_EQ(rows[i][3], notes[i]);
    const std::vector<std::string> results(rows[i].begin() + header.size(), rows[i].end());
    EXPECT_EQ(results, formCells(jobs[i]));
  }
}

// Each bad row gets its message and the rows after it are computed still.
TEST(BatchRows, BadRowsAreToldAndTheBatchGoesOn) {
  struct Case {
    std::string row;
    std::string message;  // a part of the エラー cell
  };
  std::string manyLines;  // a quoted cell over the limit, of many lines
  while (manyLines.size() <= kMaxRecordBytes) manyLines += "memo,\r\nmemo\r\n";
  const Case cases[] = {
      {"0.2,0.19,100,1", "線仕上外径は素線径(d)以上にしてください"},
      // Every byte of a row counts towards its limit, and after a quoted
      // cell over it the batch goes on after the cell, not inside it.
      {std::string(2 * kMaxRecordBytes, ','), "2 行目: 行が長すぎます（1 MiB まで）。"},
      {"0.2,0.21,\"" + manyLines + "\",1", "2 行目: 行が長すぎます（1 MiB まで）。"},
      {"0.2,0.21,100,四角", "2 行目 4 列目（former）: 「四角」は巻枠の形として読めません"},
      {"0.2,0.21,100,1,金", "列が 5 個あります。見出しの列は 4 個です。"},
      {"0.2,0.21,100", "列が 3 個あります"},
      {"0.2,0.21,1\"00,1", "2 行目 3 列目（turns）: 引用符 \" の使い方"},
      {"0.2,\"0.21\"x,100,1", "2 行目 2 列目（finishedDiameter）: 引用符"},
      {"0.2,0.21,\"100", "引用符 \" が閉じられないままファイルが終わりました。"},
  };
  const std::string header = "bareDiameter,finishedDiameter,turns,former\n";
  const std::string good = "0.2,0.21,100,1\n";
  const auto expected = formCells([] {
    job::Job job;
    only(job).coil.texts = form::Form1().state().inputTexts;
    only(job).coil.texts[0] = "0.2";
    only(job).coil.texts[1] = "0.21";
    only(job).coil.texts[2] = "100";
    return job;
  }());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row.substr(0, 40));
    // The good row after the bad one, except where the bad one runs to the end.
    const bool last = c.row.find("\"100") != std::string::npos;
    const BatchRun run = runForBoxTexts(header + c.row + "\n" + (last ? "" : good));
    ASSERT_TRUE(run.summary.ok()) << run.summary.message();
    EXPECT_EQ(run.summary->failedRows, 1u);
    const auto rows = outputRows(run.output);
    ASSERT_EQ(rows.size(), last ? 1u : 2u);
    EXPECT_NE(rows[0].back().find(c.message), std::string::npos) << rows[0].back();
    EXPECT_EQ(rows[0].size(), 4 + resultColumns(ResultStyle::BoxTexts).size());
    if (!last) {
      EXPECT_EQ(std::vector<std::string>(rows[1].begin() + 4, rows[1].end()), expected);
    }
  }
  // A line of empty cells is a spacer: passed through, not counted as failed.
  for (const ResultStyle style : {ResultStyle::BoxTexts, ResultStyle::Readable}) {
    const BatchRun spacer = runOn(header + ",,,\n" + good, 1 << 16, 3, style);
    ASSERT_TRUE(spacer.summary.ok());
    EXPECT_EQ(spacer.summary->failedRows, 0u);
    EXPECT_EQ(outputRows(spacer.output)[0],
              std::vector<std::string>(4 + resultColumns(style).size()));
  }
}

// The lines about the input's encoding among those a run told.
std::vector<std::string> encodingNotices(const BatchRun& run) {
  std::vector<std::string> lines;
  for (const std::string& line : run.notices) {
    if (line.find("として読みました") != std::string::npos) lines.push_back(line);
  }
  return lines;
}

// The same file as UTF-8, UTF-8 with a byte order mark and Shift_JIS (CP932,
// as spreadsheet programs on Japanese Windows save it) gives the same output.
TEST(BatchRows, ReadsUtf8WithOrWithoutMarkAndShiftJis) {
  const std::string utf8 =
      "備考,bareDiameter,finishedDiameter,former,material\r\n"
      "ｶﾅ,0.2,0.21,丸,アルミニュウム\r\n"
      "\"銅線\",0.3,0.32,扇,銅線\r\n";
  const std::string shiftJis =
      "\x94\xf5\x8d\x6c,bareDiameter,finishedDiameter,former,material\r\n"
      "\xb6\xc5,0.2,0.21,\x8a\xdb,\x83\x41\x83\x8b\x83\x7e\x83\x6a\x83\x85\x83\x45\x83\x80\r\n"
      "\"\x93\xba\x90\xfc\",0.3,0.32,\x90\xee,\x93\xba\x90\xfc\r\n";
  const BatchRun reference = runOn(utf8);
  ASSERT_TRUE(reference.summary.ok());
  EXPECT_EQ(reference.summary->failedRows, 0u);
  EXPECT_TRUE(reference.output.starts_with("\xEF\xBB\xBF備考,bareDiameter,"));
  for (const auto& [name, bytes] : std::vector<std::pair<std::string, std::string>>{
           {"with mark", "\xEF\xBB\xBF" + utf8}, {"Shift_JIS", shiftJis}}) {
    for (const std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{65536}}) {
      SCOPED_TRACE(name + " in pieces of " + std::to_string(piece));
      const BatchRun run = runOn(bytes, piece);
      ASSERT_TRUE(run.summary.ok()) << run.summary.message();
      EXPECT_EQ(run.output, reference.output);
    }
  }
  // A byte that is not UTF-8 in a file marked as UTF-8, or in one of more
  // UTF-8 characters than such bytes, spoils its cell only, wherever it is:
  // in the last row, or in the first (a Latin-1 ° before rows of β and 丸),
  // which once made every row after it Shift_JIS, computed as such.
  const std::string stray =
      "20\xB0"
      "C,0.2,0.21,,\r\n";
  const std::string header = utf8.substr(0, utf8.find('\n') + 1);
  for (const auto& [name, mark, before, after, told] :
       std::vector<std::tuple<std::string, std::string, std::string, std::string, bool>>{
           {"with mark, last row", "\xEF\xBB\xBF", utf8, "", false},
           {"last row", "", utf8, "", true},
           {"first row", "", header, utf8.substr(header.size()), true}}) {
    SCOPED_TRACE(name);
    const BatchRun spoilt = runOn(mark + before + stray + after, 1);
    ASSERT_TRUE(spoilt.summary.ok());
    EXPECT_EQ(spoilt.summary->failedRows, 1u);
    const auto rows = outputRows(spoilt.output);
    ASSERT_EQ(rows.size(), 3u);
    const auto referenceRows = outputRows(reference.output);
    const std::size_t at = after.empty() ? 2 : 0;
    EXPECT_EQ(rows[at][0],
              "20\xEF\xBF\xBD"
              "C");
    EXPECT_EQ(rows[at].back(), std::to_string(at + 2) +
                                   " 行目 1 列目（備考）: UTF-8 の文字として読めないバイト 0xB0 "
                                   "があります（値の 3 バイト目）。");
    for (std::size_t i = 0; i < 2; ++i)
      EXPECT_EQ(rows[i + (after.empty() ? 0 : 1)], referenceRows[i]);
    EXPECT_EQ(encodingNotices(spoilt),
              told ? std::vector<std::string>{"入力にはバイト順マークがありませんが、UTF-8 として"
                                              "読みました（UTF-8 として読めないバイトのある行は"
                                              "計算していません）。"}
                   : std::vector<std::string>{});
  }
  // Shift_JIS is said to be a guess too; UTF-8 without a stray byte is none.
  EXPECT_EQ(encodingNotices(runOn(shiftJis, 1)),
            std::vector<std::string>{"入力にはバイト順マークがなく、UTF-8 としては読めないため、"
                                     "Shift_JIS（CP932）として読みました。"});
  EXPECT_EQ(encodingNotices(runOn(utf8)), std::vector<std::string>{});
  // A byte Shift_JIS has no character for spoils its cell only.
  const BatchRun bad = runOn(shiftJis + "\x80,0.2,0.21,,\r\n");
  ASSERT_TRUE(bad.summary.ok());
  EXPECT_EQ(bad.summary->failedRows, 1u);
  const auto rows = outputRows(bad.output);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[2][0], "\xEF\xBF\xBD");
  EXPECT_NE(rows[2].back().find("4 行目 1 列目（備考）: Shift_JIS の文字として読めない"),
            std::string::npos);
}

TEST(BatchRows, HeaderNamesTheInputColumnsOnceEach) {
  EXPECT_EQ(join(inputColumns()),
            "素線径(d),線仕上外径,巻き数(n),リード長さ(L),基準厚み(T),内径(D),A,B,r1,r2,R,AG,XX,"
            "Tension,巻枠,素材材質");
  EXPECT_EQ(join(jobFileColumns()),
            "bareDiameter,finishedDiameter,turns,leadLength,referenceThickness,innerDiameter,"
            "sideA,sideB,cornerR1,cornerR2,fanRadius,fanAngle,fanWideWidth,tension,former,"
            "material");
  const std::vector<std::string> boxTexts = resultColumns(ResultStyle::BoxTexts);
  EXPECT_EQ(boxTexts.front(), "Text2(0)");
  EXPECT_EQ(boxTexts[21], "Text2(21)");
  EXPECT_EQ(std::vector<std::string>(boxTexts.begin() + 22, boxTexts.end()),
            (std::vector<std::string>{"Label1(13)", "Label1(29)", "Label1(28)", "エラー"}));

  EXPECT_TRUE(ColumnLayout::fromHeader({"x", "turns", "y"}).ok());
  EXPECT_TRUE(ColumnLayout::fromHeader({"x", "巻き数(n)", "巻枠"}).ok());
  // The same input by its caption and by its job file name is named twice.
  EXPECT_FALSE(ColumnLayout::fromHeader({"turns", "former", "turns"}).ok());
  EXPECT_FALSE(ColumnLayout::fromHeader({"turns", "巻き数(n)"}).ok());
  EXPECT_FALSE(ColumnLayout::fromHeader({"turns", "品番", "partNumber"}).ok());
  EXPECT_FALSE(ColumnLayout::fromHeader({"Turns", "d"}).ok());
  EXPECT_FALSE(ColumnLayout::fromHeader({"品番", "使用温度"}).ok());
  // The stack's columns by either name, once; a slip of them is refused.
  EXPECT_EQ(join(stackColumns()) + "," + join(stackFileColumns()),
            "巻線,層間絶縁,winding,insulation");
  EXPECT_TRUE(ColumnLayout::fromHeader({"turns", "巻線", "insulation"}).ok());
  EXPECT_FALSE(ColumnLayout::fromHeader({"turns", "巻線", "winding"}).ok());
  EXPECT_FALSE(ColumnLayout::fromHeader({"turns", "層間絶縁", "insulation"}).ok());
  EXPECT_FALSE(ColumnLayout::fromHeader({"turns", "windng"}).ok());
  EXPECT_FALSE(ColumnLayout::fromHeader({"巻線", "層間絶縁"}).ok());
  for (const std::string input : {"", "\r\n\n", "\"turns,former\n1\n", "a\"b,turns\n1,2\n"}) {
    EXPECT_FALSE(runOn(input).summary.ok()) << input;
  }
}

// No cell of the output is a formula to a spreadsheet: not the user's own
// cells carried through, not the cells of the boxes, not the messages. A
// signed number stays a number.
TEST(BatchRows, NoCellIsTakenForAFormula) {
  struct Case {
    std::string own;     // the user's cell, as the file holds it
    std::string ownOut;  // as the output holds it
    std::string lead;    // the leadLength cell
    std::string leadOut;
  };
  const Case cases[] = {
      {"=cmd|' /C calc'!A0", "'=cmd|' /C calc'!A0", "-1.5", "-1.5"},
      {R"csv("=HYPERLINK(""http://x"",""y"")")csv", R"('=HYPERLINK("http://x","y"))", "+2", "+2"},
      {"@SUM(A1)", "'@SUM(A1)", "\"-1,000.5\"", "-1,000.5"},
      {"\"\t=1+1\"", "'\t=1+1", "-1e-3", "-1e-3"},
      {"\"\r\n=1+1\"", "'\r\n=1+1", "-5mm", "'-5mm"},
      {"+", "'+", "=2", "'=2"},
      {"a=1", "a=1", "10", "10"},
      // Blanks a spreadsheet trims and full-width signs hide no formula.
      {" =1+1", "' =1+1", "\u3000\uFF1D2", "'\u3000\uFF1D2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ownOut + " / " + c.leadOut);
    const BatchRun run = runOn("備考,bareDiameter,finishedDiameter,leadLength,former\n" + c.own +
                               ",0.2,0.21," + c.lead + ",=1+1\n");
    ASSERT_TRUE(run.summary.ok());
    const auto rows = outputRows(run.output);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], c.ownOut);
    EXPECT_EQ(rows[0][3], c.leadOut);
    EXPECT_EQ(rows[0][4], "'=1+1");
    // The former is refused with a message quoting its cell.
    EXPECT_NE(rows[0].back().find("「=1+1」は巻枠の形として読めません"), std::string::npos);
  }
}

// The rows read and not yet written are bounded by what they take in memory,
// not by their count: long cells, lines of nothing but commas (a field for
// every byte) and short rows under a header of many columns (each output
// row as wide as the header) are held a few at a time.
TEST(BatchRows, MemoryStaysBoundedHoweverLongOrWideTheRows) {
  struct Shape {
    const char* name;
    std::string header;
    std::string row;
    int count;
  };
  const Shape shapes[] = {
      {"long cells", "turns,備考\n", "1," + std::string(900'000, 'x') + "\n", 150},
      {"wide rows", "turns,備考\n", std::string(200'000, ',') + "\n", 40},
      {"wide header", "turns" + std::string(500'000, ',') + "\n", "1\n", 600},
  };
  const auto heapInUse = [] {
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
  };
  for (const Shape& shape : shapes) {
    SCOPED_TRACE(shape.name);
    std::string pending = shape.header;
    int rowsLeft = shape.count;
    const std::size_t before = heapInUse();
    std::size_t peak = before;
    std::uint64_t lines = 0;
    const ReadBytes read = [&](char* buffer, std::size_t size) -> Expected<std::size_t> {
      peak = std::max(peak, heapInUse());
      if (pending.empty() && rowsLeft > 0) {
        pending = shape.row;
        --rowsLeft;
      }
      const std::size_t n = std::min(size, pending.size());
      pending.copy(buffer, n);
      pending.erase(0, n);
      return n;
    };
    const WriteBytes write = [&](std::string_view bytes) -> Expected<void> {
      peak = std::max(peak, heapInUse());
      for (std::size_t at = bytes.find("\r\n"); at != std::string_view::npos;
           at = bytes.find("\r\n", at + 2)) {
        ++lines;
      }
      return {};
    };
    BatchOptions options;
    options.threads = 2;
    const Expected<BatchSummary> summary = runBatch(read, write, options);
    ASSERT_TRUE(summary.ok()) << summary.message();
    EXPECT_EQ(summary->rows, static_cast<std::uint64_t>(shape.count));
    EXPECT_EQ(lines, static_cast<std::uint64_t>(shape.count) + 1);
    EXPECT_LT(peak - before, std::size_t{128} << 20);
  }
}

}  // namespace
}  // namespace kelvane::batch
