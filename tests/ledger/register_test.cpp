// The register's operations on every kind of register the tests can reach:
// each test starts from an empty one.
#include <gtest/gtest.h>

#include <stdexcept>

#include "ledger/database.h"
#include "ledger/register.h"
#include "tests/ledger/register_locations.h"

namespace kelvane::ledger {
namespace {

using test::sampleRecord;
using namespace std::string_literals;

class RegisterTest : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    register_.reset();
    if (!test::canTest(GetParam())) GTEST_SKIP() << "no " << GetParam() << " server here";
    fresh_ = std::make_unique<test::FreshRegister>(GetParam());
    auto opened = Register::open(fresh_->location());
    ASSERT_TRUE(opened) << opened.message();
    register_ = std::move(opened.value());
  }

  // Records an issue whose PDF is the given bytes.
  job::IssueRecord issue(const job::IssueRecord& record, const std::string& pdf = "%PDF-1.4",
                         const std::string& pattern = "Q{yyyy}-{nnnn}") {
    auto recorded =
        register_->record(IssueRequest{record, "{\"job\": 1}", pattern},
                          [&pdf](const job::IssueRecord&) -> Expected<std::string> { return pdf; });
    EXPECT_TRUE(recorded) << recorded.message();
    return recorded ? recorded.value() : job::IssueRecord{};
  }

  std::vector<IssueSummary> found(const IssueQuery& query) {
    auto result = register_->search(query);
    EXPECT_TRUE(result) << result.message();
    return result ? result.value() : std::vector<IssueSummary>{};
  }

  std::unique_ptr<test::FreshRegister> fresh_;
  std::unique_ptr<Register> register_;
};

struct NumberingCase {
  std::vector<std::string> typed;  // numbers recorded before, as typed
  std::string pattern;
  std::string today;
  std::string next;
};

TEST_P(RegisterTest, GivesTheNextFreeNumberOfThePatternAndPeriod) {
  const std::vector<NumberingCase> cases = {
      {{}, "Q{yyyy}-{nnnn}", "2026-12-09", "Q2026-0001"},
      {{"Q2026-0001", "Q2026-0002"}, "Q{yyyy}-{nnnn}", "2026-12-09", "Q2026-0003"},
      // A gap left by a typed number is not filled: numbers only go up.
      {{"Q2026-0001", "Q2026-0007"}, "Q{yyyy}-{nnnn}", "2026-12-09", "Q2026-0008"},
      // The year turns: the sequence starts again.
      {{"Q2026-0041"}, "Q{yyyy}-{nnnn}", "2027-01-04", "Q2027-0001"},
      // Numbers this pattern would not write are not counted.
      {{"Q2026-12", "Q2026-0005A", "X2026-0009", "Q2026-00042", "Q2026-Ｑ"},
       "Q{yyyy}-{nnnn}",
       "2026-12-09",
       "Q2026-0001"},
      {{"Q2026-9999"}, "Q{yyyy}-{nnnn}", "2026-12-09", "Q2026-10000"},
      {{"Q2026-9999", "Q2026-10000"}, "Q{yyyy}-{nnnn}", "2026-12-09", "Q2026-10001"},
      {{"2612-001", "2611-005"}, "{yy}{mm}-{nnn}", "2026-12-31", "2612-002"},
      {{"2612-001"}, "{yy}{mm}-{nnn}", "2027-01-01", "2701-001"},
      {{"007/26", "003/25"}, "{nnn}/{yy}", "2026-05-01", "008/26"},
      {{"見積2026-03", "見積2026-02"}, "見積{yyyy}-{nn}", "2026-05-01", "見積2026-04"},
  };
  for (const NumberingCase& c : cases) {
    SCOPED_TRACE(c.pattern + " on " + c.today + " after " + std::to_string(c.typed.size()));
    SetUp();
    for (const std::string& number : c.typed) issue(sampleRecord(number, "2026-01-05"));
    auto next = register_->nextNumber(c.pattern, c.today);
    ASSERT_TRUE(next) << next.message();
    EXPECT_EQ(next.value(), c.next);
    // Recording without a number takes the same one.
    job::IssueRecord record = sampleRecord("", c.today);
    EXPECT_EQ(issue(record, "%PDF", c.pattern).quotationNumber, c.next);
  }
}

TEST_P(RegisterTest, RecordsEachIssueAsTheNextRevisionOfItsNumber) {
  const job::IssueRecord first = issue(sampleRecord("", "2026-12-09"));
  EXPECT_EQ(first.quotationNumber, "Q2026-0001");
  EXPECT_EQ(first.revision, 1);
  job::IssueRecord changed = sampleRecord("Q2026-0001", "2026-12-10");
  changed.lines[0].quantity = 2000;
  changed.revision = 7;  // ignored: the register gives the 版
  const job::IssueRecord second = issue(changed, "%PDF\0\xff\x01 bytes"s);
  EXPECT_EQ(second.revision, 2);
  // A typed number the register has not seen starts at 版 1; the pattern
  // then goes on after it.
  EXPECT_EQ(issue(sampleRecord("Q2026-0005", "2026-12-10")).revision, 1);
  EXPECT_EQ(issue(sampleRecord("Q2026-0005", "2026-12-11")).revision, 2);
  EXPECT_EQ(issue(sampleRecord("", "2026-12-11")).quotationNumber, "Q2026-0006");

  auto latest = register_->latest("Q2026-0001");
  ASSERT_TRUE(latest) << latest.message();
  ASSERT_TRUE(latest->has_value());
  EXPECT_EQ((*latest)->record, second);
  EXPECT_EQ((*latest)->record.lines[0].quantity, 2000);
  EXPECT_EQ((*latest)->jobText, "{\"job\": 1}");
  EXPECT_EQ((*latest)->recordedAt.size(), std::string("2026-12-09T03:04:05Z").size());
  auto firstAgain = register_->issue("Q2026-0001", 1);
  ASSERT_TRUE(firstAgain) << firstAgain.message();
  EXPECT_EQ(firstAgain->record, first);
  auto pdf = register_->pdf("Q2026-0001", 2);
  ASSERT_TRUE(pdf) << pdf.message();
  EXPECT_EQ(pdf.value(), "%PDF\0\xff\x01 bytes"s);

  auto none = register_->latest("Q2026-0002");
  ASSERT_TRUE(none) << none.message();
  EXPECT_FALSE(none->has_value());
  EXPECT_EQ(register_->issue("Q2026-0001", 3).message(),
            "見積番号「Q2026-0001」の第3版は見積台帳にありません。");
  EXPECT_EQ(register_->pdf("Q2026-0009", 1).message(),
            "見積番号「Q2026-0009」の第1版は見積台帳にありません。");
}

TEST_P(RegisterTest, ADocumentThatFailsLeavesNothingRecorded) {
  issue(sampleRecord("", "2026-12-09"));
  int made = 0;
  const auto failing = [&made](const job::IssueRecord& numbered) -> Expected<std::string> {
    ++made;
    EXPECT_EQ(numbered.quotationNumber, "Q2026-0002");
    return Failure{"「見積書.pdf」を保存できません（ディスクがいっぱいです）。"};
  };
  auto refused = register_->record(
      IssueRequest{sampleRecord("", "2026-12-09"), "{}", "Q{yyyy}-{nnnn}"}, failing);
  EXPECT_EQ(refused.message(), "「見積書.pdf」を保存できません（ディスクがいっぱいです）。");
  EXPECT_EQ(made, 1);  // a failing document is not tried again
  // A document that throws leaves the register as it was, and usable.
  EXPECT_THROW(register_->record(IssueRequest{sampleRecord("Q2026-0001", "2026-12-09"), "{}", ""},
                                 [](const job::IssueRecord&) -> Expected<std::string> {
                                   throw std::runtime_error("printer gone");
                                 }),
               std::runtime_error);
  EXPECT_EQ(found(IssueQuery{}).size(), 1u);
  auto latest = register_->latest("Q2026-0001");
  ASSERT_TRUE(latest && latest->has_value());
  EXPECT_EQ((*latest)->record.revision, 1);
  EXPECT_EQ(register_->nextNumber("Q{yyyy}-{nnnn}", "2026-12-09").value(), "Q2026-0002");
  EXPECT_EQ(issue(sampleRecord("", "2026-12-09")).quotationNumber, "Q2026-0002");
}

TEST_P(RegisterTest, RefusesARequestItCannotNumber) {
  const auto pdf = [](const job::IssueRecord&) -> Expected<std::string> {
    return std::string("%PDF");
  };
  EXPECT_EQ(register_->record(IssueRequest{sampleRecord("", "2026-12-09"), "{}", "Q-{yyyy}"}, pdf)
                .message(),
            "見積番号の形式「Q-{yyyy}」に連番の {nnnn} がありません。");
  EXPECT_EQ(
      register_->record(IssueRequest{sampleRecord("Q1", "2026-13-01"), "{}", ""}, pdf).message(),
      "発行日「2026-13-01」を読めません。");
  EXPECT_TRUE(found(IssueQuery{}).empty());
}

// A connection that breaks chosen statements with a conflict, as another
// writer's issue of the same number would.
class ConflictingDatabase : public Database {
 public:
  ConflictingDatabase(std::unique_ptr<Database> inner, int conflicts)
      : inner_(std::move(inner)), conflicts_(conflicts) {}
  std::string_view dialect() const override { return inner_->dialect(); }
  Result<std::vector<Row>> query(std::string_view sql, const std::vector<Value>& params) override {
    if (sql.starts_with("INSERT INTO issues ") && conflicts_ != 0) {
      --conflicts_;
      return DatabaseError{"同じ見積番号と版がすでにあります。", true};
    }
    return inner_->query(sql, params);
  }
  Result<std::monostate> begin() override { return inner_->begin(); }
  Result<std::monostate> commit() override { return inner_->commit(); }
  Result<std::monostate> rollback() override { return inner_->rollback(); }

 private:
  std::unique_ptr<Database> inner_;
  int conflicts_;
};

TEST_P(RegisterTest, AConflictIsTriedAgainABoundedNumberOfTimes) {
  struct Row {
    int conflicts;
    bool recorded;
    int documents;
  };
  for (const Row row : {Row{2, true, 3}, Row{-1, false, 8}}) {
    SCOPED_TRACE(row.conflicts);
    SetUp();
    issue(sampleRecord("", "2026-12-09"));
    register_.reset();
    auto db = connect(fresh_->location());
    ASSERT_TRUE(db) << db.message();
    auto opened =
        Register::open(std::make_unique<ConflictingDatabase>(std::move(db.value()), row.conflicts));
    ASSERT_TRUE(opened) << opened.message();
    int documents = 0;
    auto recorded =
        opened.value()->record(IssueRequest{sampleRecord("", "2026-12-09"), "{}", "Q{yyyy}-{nnnn}"},
                               [&documents](const job::IssueRecord&) -> Expected<std::string> {
                                 ++documents;
                                 return std::string("%PDF");
                               });
    EXPECT_EQ(recorded.ok(), row.recorded) << (recorded ? "" : recorded.message());
    EXPECT_EQ(documents, row.documents);
    if (recorded) {
      EXPECT_EQ(recorded->quotationNumber, "Q2026-0002");
    }
    // Nothing half: the tries that lost left no lines or documents behind.
    auto all = opened.value()->ledger();
    ASSERT_TRUE(all) << all.message();
    ASSERT_EQ(all->size(), row.recorded ? 2u : 1u);
    for (const StoredIssue& stored : *all) EXPECT_EQ(stored.record.lines.size(), 2u);
  }
}

TEST_P(RegisterTest, FindsIssuesByEachFieldAndRange) {
  job::IssueRecord a = sampleRecord("Q2026-0001", "2026-01-10", "株式会社サンプル電機");
  job::IssueRecord b = sampleRecord("Q2026-0002", "2026-02-20", "有限会社ABC");
  b.subject = "チョークコイル";
  b.personInCharge = "佐藤";
  b.lines = {{"XY-9", "試作品 ab-12", 10, 100000, 1000000}};
  b.totalYen = 1100000;
  job::IssueRecord c = sampleRecord("Q2026-0001", "2026-03-01", "株式会社サンプル電機");
  c.totalYen = 300000;
  job::IssueRecord d = sampleRecord("R-77", "2026-03-01", "東京コイル");
  d.totalYen = 278631;
  for (const auto* r : {&a, &b, &c, &d}) issue(*r);

  struct Row {
    const char* what;
    IssueQuery query;
    std::vector<std::string> expected;  // number/版, newest first
  };
  const auto q = [](auto set) {
    IssueQuery query;
    set(query);
    return query;
  };
  const std::vector<Row> rows = {
      {"everything", IssueQuery{}, {"R-77/1", "Q2026-0001/2", "Q2026-0002/1", "Q2026-0001/1"}},
      {"text in 顧客名",
       q([](IssueQuery& x) { x.text = "サンプル"; }),
       {"Q2026-0001/2", "Q2026-0001/1"}},
      {"text in 品名 of a line", q([](IssueQuery& x) { x.text = "試作"; }), {"Q2026-0002/1"}},
      {"text in 品番",
       q([](IssueQuery& x) { x.text = "CH-3"; }),
       {"R-77/1", "Q2026-0001/2", "Q2026-0001/1"}},
      {"text as typed, case kept", q([](IssueQuery& x) { x.text = "ab-12"; }), {"Q2026-0002/1"}},
      {"text in 担当者", q([](IssueQuery& x) { x.text = "佐藤"; }), {"Q2026-0002/1"}},
      {"text across two fields finds nothing",
       q([](IssueQuery& x) { x.text = "ABCチョーク"; }),
       {}},
      {"見積番号",
       q([](IssueQuery& x) { x.quotationNumber = "-0001"; }),
       {"Q2026-0001/2", "Q2026-0001/1"}},
      {"顧客名 alone", q([](IssueQuery& x) { x.customer = "ABC"; }), {"Q2026-0002/1"}},
      {"件名", q([](IssueQuery& x) { x.subject = "チョーク"; }), {"Q2026-0002/1"}},
      {"担当者",
       q([](IssueQuery& x) { x.personInCharge = "山田"; }),
       {"R-77/1", "Q2026-0001/2", "Q2026-0001/1"}},
      {"品番, not 品名", q([](IssueQuery& x) { x.partNumber = "ab-12"; }), {}},
      {"品番", q([](IssueQuery& x) { x.partNumber = "XY"; }), {"Q2026-0002/1"}},
      {"発行日 from, inclusive",
       q([](IssueQuery& x) { x.issuedFrom = "2026-02-20"; }),
       {"R-77/1", "Q2026-0001/2", "Q2026-0002/1"}},
      {"発行日 to, inclusive",
       q([](IssueQuery& x) { x.issuedTo = "2026-02-20"; }),
       {"Q2026-0002/1", "Q2026-0001/1"}},
      {"合計 range, inclusive",
       q([](IssueQuery& x) {
         x.totalFromYen = 278631;
         x.totalToYen = 300000;
       }),
       {"R-77/1", "Q2026-0001/2"}},
      {"latest 版 only",
       q([](IssueQuery& x) { x.latestOnly = true; }),
       {"R-77/1", "Q2026-0001/2", "Q2026-0002/1"}},
      {"fields together",
       q([](IssueQuery& x) {
         x.customer = "サンプル";
         x.issuedFrom = "2026-01-01";
         x.issuedTo = "2026-01-31";
       }),
       {"Q2026-0001/1"}},
      {"limit", q([](IssueQuery& x) { x.limit = 2; }), {"R-77/1", "Q2026-0001/2"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    std::vector<std::string> got;
    for (const IssueSummary& s : found(row.query))
      got.push_back(s.quotationNumber + "/" + std::to_string(s.revision));
    EXPECT_EQ(got, row.expected);
  }
  const std::vector<IssueSummary> one = found(q([](IssueQuery& x) { x.customer = "ABC"; }));
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0], (IssueSummary{"Q2026-0002", 1, "2026-02-20", "2027-01-08", "有限会社ABC",
                                  "チョークコイル", "佐藤", 1100000}));
}

TEST_P(RegisterTest, TheLedgerGoesThroughItsCsvIntoAnotherRegister) {
  job::IssueRecord odd = sampleRecord("Q2026-0001", "2026-01-10", "=HYPERLINK(\"x\"),\n\"株式\"");
  odd.subject = "-1 件, 改行\r\nあり";
  odd.lines[1].partNumber = "+CH-3";
  odd.lines[1].name = "";
  job::IssueRecord bare = sampleRecord("Q2026-0002", "2026-01-11");
  bare.lines.clear();
  issue(odd);
  issue(sampleRecord("Q2026-0001", "2026-01-12"));
  issue(bare);
  auto ledger = register_->ledger();
  ASSERT_TRUE(ledger) << ledger.message();
  ASSERT_EQ(ledger->size(), 3u);
  odd.revision = 1;
  EXPECT_EQ((*ledger)[0].record, odd);
  EXPECT_TRUE((*ledger)[0].jobText.empty());

  auto read = importLedgerCsv(ledgerCsv(*ledger));
  ASSERT_TRUE(read) << read.message();
  ASSERT_EQ(read->size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ((*read)[i].record, (*ledger)[i].record);

  // Into an empty register as they are; a second time, nothing new.
  test::FreshRegister other(GetParam());
  auto there = Register::open(other.location());
  ASSERT_TRUE(there) << there.message();
  auto imported = there.value()->import(*read);
  ASSERT_TRUE(imported) << imported.message();
  EXPECT_EQ(imported->recorded, 3u);
  auto again = there.value()->import(*read);
  ASSERT_TRUE(again) << again.message();
  EXPECT_EQ(again->recorded, 0u);
  EXPECT_EQ(again->skipped, 3u);
  auto copied = there.value()->ledger();
  ASSERT_TRUE(copied) << copied.message();
  ASSERT_EQ(copied->size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ((*copied)[i].record, (*ledger)[i].record);
  IssueQuery latest;
  latest.latestOnly = true;
  auto latestThere = there.value()->search(latest);
  ASSERT_TRUE(latestThere) << latestThere.message();
  EXPECT_EQ(latestThere->size(), 2u);
  EXPECT_EQ(
      there.value()->pdf("Q2026-0002", 1).message(),
      "見積番号「Q2026-0002」の第1版には PDF がありません（台帳の CSV から取り込んだ版です）。");
  // The pattern goes on after the imported numbers.
  EXPECT_EQ(there.value()->nextNumber("Q{yyyy}-{nnnn}", "2026-05-01").value(), "Q2026-0003");

  // An issue already there with other figures refuses the whole import.
  std::vector<StoredIssue> clash = *read;
  clash.push_back(clash[0]);
  clash[0].record.quotationNumber = "Q2026-0100";
  clash.back().record.totalYen += 1;
  EXPECT_EQ(there.value()->import(clash).message(),
            "見積番号「Q2026-0001」の第1版は、台帳に別の内容で記録されています。"
            "何も取り込みませんでした。");
  auto unchanged = there.value()->latest("Q2026-0100");
  ASSERT_TRUE(unchanged);
  EXPECT_FALSE(unchanged->has_value());
}

TEST_P(RegisterTest, AnOlderRegisterIsBroughtUpAndKeepsItsIssues) {
  // A register as the first release made it, written by hand.
  test::FreshRegister old(GetParam());
  {
    auto db = connect(old.location());
    ASSERT_TRUE(db) << db.message();
    const std::string bytes = db.value()->dialect() == "postgresql" ? "BYTEA" : "BLOB";
    const std::vector<std::string> statements = {
        "CREATE TABLE register_schema (version INTEGER NOT NULL)",
        "INSERT INTO register_schema (version) VALUES (1)",
        "CREATE TABLE issues (quotation_number TEXT NOT NULL, revision INTEGER NOT NULL, "
        "issued_on TEXT NOT NULL, valid_until TEXT NOT NULL, customer TEXT NOT NULL, subject TEXT "
        "NOT NULL, person_in_charge TEXT NOT NULL, subtotal_yen BIGINT NOT NULL, tax_yen BIGINT "
        "NOT NULL, total_yen BIGINT NOT NULL, recorded_at TEXT NOT NULL, PRIMARY KEY "
        "(quotation_number, revision))",
        "CREATE TABLE issue_lines (quotation_number TEXT NOT NULL, revision INTEGER NOT NULL, line "
        "INTEGER NOT NULL, part_number TEXT NOT NULL, name TEXT NOT NULL, quantity BIGINT NOT "
        "NULL, unit_price_sen BIGINT NOT NULL, amount_yen BIGINT NOT NULL, PRIMARY KEY "
        "(quotation_number, revision, line), FOREIGN KEY (quotation_number, revision) REFERENCES "
        "issues (quotation_number, revision))",
        "CREATE TABLE issue_documents (quotation_number TEXT NOT NULL, revision INTEGER NOT NULL, "
        "job_text TEXT NOT NULL, pdf " +
            bytes +
            " NOT NULL, PRIMARY KEY (quotation_number, revision), FOREIGN KEY (quotation_number, "
            "revision) REFERENCES issues (quotation_number, revision))",
        "CREATE INDEX issues_issued_on ON issues (issued_on)",
        std::string("INSERT INTO issues VALUES ('Q2025-0009', 1,") +
            " '2025-11-01', '2025-12-01', '古河コイル', "
            "'試作', '鈴木', 1000, 100, 1100, '2025-11-01T01:02:03Z')",
        std::string("INSERT INTO issues VALUES ('Q2025-0009', 2,") +
            " '2025-11-05', '2025-12-05', '古河コイル', "
            "'試作', '鈴木', 2000, 200, 2200, '2025-11-05T01:02:03Z')",
        "INSERT INTO issue_lines VALUES ('Q2025-0009', 1, 1, 'OLD-1', '旧品', 10, 10000, 1000)",
        "INSERT INTO issue_lines VALUES ('Q2025-0009', 2, 1, 'OLD-2', '新品', 20, 10000, 2000)",
        "INSERT INTO issue_documents VALUES ('Q2025-0009', 2, '{}', $1)"};
    for (const std::string& statement : statements) {
      const bool withPdf = statement.find("$1") != std::string::npos;
      const auto done = db.value()->query(
          statement, withPdf ? std::vector<Value>{Bytes{"%PDF-old"}} : std::vector<Value>{});
      ASSERT_FALSE(std::holds_alternative<DatabaseError>(done))
          << std::get<DatabaseError>(done).message;
    }
  }
  auto opened = Register::open(old.location());
  ASSERT_TRUE(opened) << opened.message();
  Register& reg = *opened.value();
  auto latest = reg.latest("Q2025-0009");
  ASSERT_TRUE(latest && latest->has_value());
  EXPECT_EQ((*latest)->record.revision, 2);
  EXPECT_EQ((*latest)->record.lines.at(0).partNumber, "OLD-2");
  EXPECT_EQ(reg.pdf("Q2025-0009", 2).value(), "%PDF-old");
  // The texts and the latest 版 the new schema searches were made for them.
  IssueQuery byPart;
  byPart.partNumber = "OLD-1";
  EXPECT_EQ(reg.search(byPart).value().size(), 1u);
  IssueQuery byText;
  byText.text = "新品";
  EXPECT_EQ(reg.search(byText).value().size(), 1u);
  IssueQuery latestOnly;
  latestOnly.latestOnly = true;
  ASSERT_EQ(reg.search(latestOnly).value().size(), 1u);
  EXPECT_EQ(reg.search(latestOnly).value()[0].revision, 2);
  job::IssueRecord next = sampleRecord("Q2025-0009", "2026-01-05");
  auto third = reg.record(
      IssueRequest{next, "{}", ""},
      [](const job::IssueRecord&) -> Expected<std::string> { return std::string("%PDF"); });
  ASSERT_TRUE(third) << third.message();
  EXPECT_EQ(third->revision, 3);
  EXPECT_EQ(reg.search(latestOnly).value()[0].revision, 3);

  // A register of a newer program is refused, not changed.
  {
    auto db = connect(old.location());
    ASSERT_TRUE(db);
    db.value()->query("UPDATE register_schema SET version = 3", {});
  }
  EXPECT_EQ(
      Register::open(old.location()).message(),
      "この見積台帳は新しい Kelvane の形式（第3版）です。Kelvane を新しくしてから開いてください。");
}

INSTANTIATE_TEST_SUITE_P(Registers, RegisterTest, ::testing::ValuesIn(test::registerKinds()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace kelvane::ledger
