// Job files through the C++ library alone (the platform file's branch for a
// system without POSIX and for the browser), built and run here on Linux:
// the file still appears whole or not at all, keeps its permissions, and
// every refusal names the file.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "job/file_io.h"
#include "job/job_json.h"
#include "job/output_file.h"
#include "job/platform_files.h"
#include "job_fixtures.h"

namespace kelvane::job {
namespace {

namespace fs = std::filesystem;

class PortableFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("kelvane-portable-test-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  static std::string contents(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  std::vector<fs::path> listing() const {
    std::vector<fs::path> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
};

TEST_F(PortableFiles, ASavedJobOpensAgainAndReplacesKeepingPermissions) {
  const fs::path file = dir_ / "coil.kelvane";
  ASSERT_EQ(test::failureOf(writeFileAtomically(file, "old")), std::nullopt);
  fs::permissions(file, fs::perms(0640));
  const Job job = test::sampleJobs()[1].job;
  ASSERT_EQ(test::failureOf(writeFileAtomically(file, writeJob(job))), std::nullopt);
  const Expected<Job> read = readJobFile(file);
  ASSERT_TRUE(read) << read.message();
  EXPECT_EQ(*read, job);
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, fs::perms(0640));
  EXPECT_EQ(listing(), std::vector<fs::path>{"coil.kelvane"});  // no stand-in left
}

TEST_F(PortableFiles, AWriteNeverCommittedLeavesNothing) {
  ASSERT_EQ(test::failureOf(writeFileAtomically(dir_ / "kept.csv", "old")), std::nullopt);
  {
    OutputFile out;
    ASSERT_EQ(test::failureOf(out.open(dir_ / "kept.csv")), std::nullopt);
    ASSERT_EQ(test::failureOf(out.write("new")), std::nullopt);
  }
  EXPECT_EQ(contents(dir_ / "kept.csv"), "old");
  EXPECT_EQ(listing(), std::vector<fs::path>{"kept.csv"});
}

// Without POSIX the bytes wait in the C library's buffer until flushed: the
// hidden stand-in is flushed, again after a later write, before it is closed
// and takes the name.
TEST_F(PortableFiles, BytesAreFlushedBeforeTheNameIsTaken) {
  OutputFile out;
  ASSERT_EQ(test::failureOf(out.open(dir_ / "out.csv")), std::nullopt);
  platform::testing::recordCalls(true);
  const auto first = test::failureOf(out.write("a,"));
  const auto flushed = test::failureOf(out.sync());
  const auto second = test::failureOf(out.write("b\n"));
  const auto committed = test::failureOf(out.commit());
  platform::testing::recordCalls(false);
  EXPECT_EQ(first, std::nullopt);
  EXPECT_EQ(flushed, std::nullopt);
  EXPECT_EQ(second, std::nullopt);
  EXPECT_EQ(committed, std::nullopt);
  EXPECT_EQ(platform::testing::takeRecordedCalls(),
            (std::vector<std::string>{"write", "sync", "write", "sync", "close", "rename",
                                      "sync folder"}));
  EXPECT_EQ(contents(dir_ / "out.csv"), "a,b\n");
}

TEST_F(PortableFiles, RefusalsNameTheFile) {
  fs::create_directory(dir_ / "folder.csv");
  ASSERT_EQ(test::failureOf(writeFileAtomically(dir_ / "kept.csv", "old")), std::nullopt);
  fs::permissions(dir_ / "kept.csv", fs::perms(0444));
  std::ofstream(dir_ / "locked.kelvane") << "{}";
  platform::testing::refuseReading(dir_ / "locked.kelvane", EACCES);
  const struct {
    std::optional<std::string> failure;
    std::string expected;
  } cases[] = {
      {test::failureOf(writeFileAtomically(dir_ / "folder.csv", "x")),
       "「folder.csv」を保存できません（フォルダーです）。"},
      {test::failureOf(writeFileAtomically(dir_ / "missing" / "new.csv", "x")),
       "「new.csv」を保存できません（保存先のフォルダーがありません）。"},
      {test::failureOf(writeFileAtomically(dir_ / "kept.csv", "new")),
       "「kept.csv」を保存できません（読み取り専用のファイルです）。"},
      {readJobFile(dir_ / "gone.kelvane").failure().message,
       "「gone.kelvane」を開けません。読み込めません（ファイルがありません）。"},
      {readJobFile(dir_ / "folder.csv").failure().message,
       "「folder.csv」を開けません。通常のファイルではありません。"},
      {readJobFile(dir_ / "locked.kelvane").failure().message,
       "「locked.kelvane」を開けません。読み込めません（権限がありません）。"},
  };
  platform::testing::refuseReading(dir_ / "locked.kelvane", 0);
  for (const auto& c : cases) EXPECT_EQ(c.failure, c.expected);
  EXPECT_EQ(contents(dir_ / "kept.csv"), "old");
}

}  // namespace
}  // namespace kelvane::job
