// Job files on the disk, as the Qt-free tools read and save them.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "job/file_io.h"
#include "job/job_json.h"
#include "job_fixtures.h"

namespace kelvane::job {
namespace {

namespace fs = std::filesystem;

class JobFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("kelvane-job-test-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string contents(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  std::vector<fs::path> listing() {
    std::vector<fs::path> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
};

TEST_F(JobFiles, SavedJobOpensAgain) {
  const fs::path file = dir_ / "coil.kelvane";
  const Job job = test::sampleJobs()[1].job;
  ASSERT_EQ(writeFileAtomically(file, writeJob(job)), std::nullopt);
  const Expected<Job> read = readJobFile(file);
  ASSERT_TRUE(read) << read.message();
  EXPECT_EQ(*read, job);
  EXPECT_EQ(listing(), std::vector<fs::path>{"coil.kelvane"});
}

TEST_F(JobFiles, ReplacingKeepsPermissionsAndLinks) {
  const fs::path file = dir_ / "coil.kelvane";
  ASSERT_EQ(writeFileAtomically(file, "old"), std::nullopt);
  ::chmod(file.c_str(), 0640);
  fs::create_symlink(file, dir_ / "link.kelvane");

  ASSERT_EQ(writeFileAtomically(dir_ / "link.kelvane", "new"), std::nullopt);
  EXPECT_EQ(contents(file), "new");
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.kelvane"));
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(listing(), (std::vector<fs::path>{"coil.kelvane", "link.kelvane"}));
}

TEST_F(JobFiles, FailedSaveLeavesTheOldFileAndNoLeftovers) {
  const fs::path file = dir_ / "coil.kelvane";
  ASSERT_EQ(writeFileAtomically(file, "old"), std::nullopt);
  // A directory standing where the file should go cannot be replaced.
  const fs::path blocked = dir_ / "folder.kelvane";
  fs::create_directory(blocked);
  EXPECT_NE(writeFileAtomically(blocked, "new"), std::nullopt);
  EXPECT_TRUE(writeFileAtomically(dir_ / "missing" / "coil.kelvane", "new")
                  .value_or("")
                  .starts_with("保存できません（ファイルがありません）"));
  EXPECT_EQ(contents(file), "old");
  EXPECT_EQ(listing(), (std::vector<fs::path>{"coil.kelvane", "folder.kelvane"}));
}

TEST_F(JobFiles, RefusalsNameTheFile) {
  const fs::path huge = dir_ / "huge.kelvane";
  std::ofstream(huge) << std::string(3 * kMaxFileBytes, ' ');
  const fs::path broken = dir_ / "broken.kelvane";
  std::ofstream(broken) << "{";
  // A pipe with no writer must not hold the reader.
  const fs::path pipe = dir_ / "pipe.kelvane";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const struct {
    fs::path file;
    std::string message;
  } cases[] = {
      {dir_ / "missing.kelvane",
       "「missing.kelvane」を開けません。読み込めません（ファイルがありません）。"},
      {dir_, "を開けません。通常のファイルではありません。"},
      {pipe, "「pipe.kelvane」を開けません。通常のファイルではありません。"},
      {huge, "「huge.kelvane」を開けません。ファイルが大きすぎます（案件ファイルは 1 MiB まで）。"},
      {broken, "「broken.kelvane」を開けません。JSON として読めません（1 行目）。"},
  };
  for (const auto& c : cases) {
    const Expected<Job> read = readJobFile(c.file);
    ASSERT_FALSE(read) << c.file;
    EXPECT_TRUE(read.message().ends_with(c.message)) << read.message();
  }
}

}  // namespace
}  // namespace kelvane::job
