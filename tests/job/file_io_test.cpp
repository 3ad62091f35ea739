// Job files on the disk, as the Qt-free tools read and save them.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "job/file_io.h"
#include "job/job_json.h"
#include "job/output_file.h"
#include "job/platform_files.h"
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
  ASSERT_EQ(test::failureOf(writeFileAtomically(file, writeJob(job))), std::nullopt);
  const Expected<Job> read = readJobFile(file);
  ASSERT_TRUE(read) << read.message();
  EXPECT_EQ(*read, job);
  EXPECT_EQ(listing(), std::vector<fs::path>{"coil.kelvane"});
}

TEST_F(JobFiles, ReplacingKeepsPermissionsAndLinks) {
  const fs::path file = dir_ / "coil.kelvane";
  ASSERT_EQ(test::failureOf(writeFileAtomically(file, "old")), std::nullopt);
  ::chmod(file.c_str(), 0640);
  fs::create_symlink(file, dir_ / "link.kelvane");

  ASSERT_EQ(test::failureOf(writeFileAtomically(dir_ / "link.kelvane", "new")), std::nullopt);
  EXPECT_EQ(contents(file), "new");
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.kelvane"));
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(listing(), (std::vector<fs::path>{"coil.kelvane", "link.kelvane"}));
}

TEST_F(JobFiles, FailedSaveLeavesTheOldFileAndNoLeftovers) {
  const fs::path file = dir_ / "coil.kelvane";
  ASSERT_EQ(test::failureOf(writeFileAtomically(file, "old")), std::nullopt);
  // A directory standing where the file should go cannot be replaced.
  const fs::path blocked = dir_ / "folder.kelvane";
  fs::create_directory(blocked);
  EXPECT_NE(test::failureOf(writeFileAtomically(blocked, "new")), std::nullopt);
  EXPECT_EQ(test::failureOf(writeFileAtomically(dir_ / "missing" / "coil.kelvane", "new")),
            "「coil.kelvane」を保存できません（保存先のフォルダーがありません）。");
  EXPECT_EQ(contents(file), "old");
  EXPECT_EQ(listing(), (std::vector<fs::path>{"coil.kelvane", "folder.kelvane"}));
}

// A disk that fills up while the file is written: the old file stays whole
// and the save says so. The file size limit makes the system refuse writes
// past a few bytes exactly as a full disk does, for root too.
TEST_F(JobFiles, AFullDiskKeepsTheOldFile) {
  const fs::path file = dir_ / "coil.kelvane";
  ASSERT_EQ(test::failureOf(writeFileAtomically(file, "old")), std::nullopt);
  struct rlimit saved {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previous = ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 1000;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const auto error = test::failureOf(writeFileAtomically(file, std::string(5000, 'x')));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, previous);
  EXPECT_EQ(error, "「coil.kelvane」を保存できません（ファイルが大きすぎます）。");
  EXPECT_EQ(contents(file), "old");
  EXPECT_EQ(listing(), std::vector<fs::path>{"coil.kelvane"});

  // /dev/full answers every write with a full disk.
  EXPECT_EQ(test::failureOf(writeFileAtomically("/dev/full", "new")),
            "「full」を保存できません（ディスクがいっぱいです）。");
}

// The bytes reach the disk before the new file takes the name, and its name
// reaches the disk after: renamed first, a power cut can leave the name on an
// empty or half-written file in place of the old one. Bytes written after a
// sync are synced again; a pipe or a device is only written into and closed
// (fsync on it fails). The calls as the platform file's seam notes them.
TEST_F(JobFiles, BytesAreSyncedBeforeTheNameIsTaken) {
  std::ofstream(dir_ / "old.csv") << "old";
  const struct {
    const char* what;
    fs::path file;
    bool standIn;      // a file system without unnamed files
    bool syncHalfway;  // the caller syncs after the first write
    std::vector<std::string> calls;
  } cases[] = {
      {"new file",
       dir_ / "new.csv",
       false,
       false,
       {"write", "write", "sync", "link", "close", "rename", "sync folder"}},
      {"replaced file",
       dir_ / "old.csv",
       false,
       false,
       {"write", "write", "sync", "link", "close", "rename", "sync folder"}},
      {"synced, then written again",
       dir_ / "new.csv",
       false,
       true,
       {"write", "sync", "write", "sync", "link", "close", "rename", "sync folder"}},
      {"hidden stand-in",
       dir_ / "old.csv",
       true,
       false,
       {"write", "write", "sync", "close", "rename", "sync folder"}},
      {"stand-in synced, then written again",
       dir_ / "new.csv",
       true,
       true,
       {"write", "sync", "write", "sync", "close", "rename", "sync folder"}},
      {"device", "/dev/null", false, true, {"write", "write", "close"}},
  };
  for (const auto& c : cases) {
    platform::testing::refuseUnnamedFiles(c.standIn);
    OutputFile out;
    std::vector<std::optional<std::string>> failures;
    failures.push_back(test::failureOf(out.open(c.file)));
    platform::testing::recordCalls(true);
    failures.push_back(test::failureOf(out.write("a,")));
    if (c.syncHalfway) failures.push_back(test::failureOf(out.sync()));
    failures.push_back(test::failureOf(out.write("b\n")));
    failures.push_back(test::failureOf(out.commit()));
    platform::testing::recordCalls(false);
    platform::testing::refuseUnnamedFiles(false);
    const std::vector<std::string> calls = platform::testing::takeRecordedCalls();
    for (const auto& failure : failures) EXPECT_EQ(failure, std::nullopt) << c.what;
    EXPECT_EQ(calls, c.calls) << c.what;
    if (c.file.parent_path() == dir_) {
      EXPECT_EQ(contents(c.file), "a,b\n") << c.what;
    }
  }
  EXPECT_EQ(listing(), (std::vector<fs::path>{"new.csv", "old.csv"}));
}

// What is no regular file is written into, never replaced; what may not be
// written is refused and stays as it was.
TEST_F(JobFiles, DevicesPipesAndReadOnlyFilesAreNotReplaced) {
  const fs::path pipe = dir_ / "pipe.csv";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  // Nobody reads the pipe: refused at once rather than waited for.
  EXPECT_EQ(test::failureOf(writeFileAtomically(pipe, "rows")),
            "「pipe.csv」を保存できません（読み手のいないパイプか、つながっていない装置です）。");
  {
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_EQ(test::failureOf(writeFileAtomically(pipe, "rows")), std::nullopt);
    char buffer[16] = {};
    EXPECT_EQ(::read(reader, buffer, sizeof buffer), 4);
    EXPECT_STREQ(buffer, "rows");
    ::close(reader);
  }
  EXPECT_EQ(fs::status(pipe).type(), fs::file_type::fifo);

  fs::create_symlink("/dev/null", dir_ / "null.csv");
  EXPECT_EQ(test::failureOf(writeFileAtomically(dir_ / "null.csv", "rows")), std::nullopt);
  EXPECT_EQ(fs::status("/dev/null").type(), fs::file_type::character);

  const fs::path readOnly = dir_ / "kept.kelvane";
  ASSERT_EQ(test::failureOf(writeFileAtomically(readOnly, "old")), std::nullopt);
  ::chmod(readOnly.c_str(), 0444);
  EXPECT_EQ(test::failureOf(writeFileAtomically(readOnly, "new")),
            "「kept.kelvane」を保存できません（読み取り専用のファイルです）。");
  EXPECT_EQ(contents(readOnly), "old");
  EXPECT_EQ(listing(), (std::vector<fs::path>{"kept.kelvane", "null.csv", "pipe.csv"}));
}

// A program stopped half-way through a file leaves nothing behind, whether
// the file system has unnamed files or the hidden stand-in is used.
TEST_F(JobFiles, AnInterruptedWriteLeavesNoFile) {
  for (const bool standIn : {false, true}) {
    for (const int signal : {SIGINT, SIGTERM}) {
      const pid_t child = ::fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        platform::testing::refuseUnnamedFiles(standIn);
        OutputFile out;
        if (!out.open(dir_ / "results.csv").ok() || !out.write(std::string(1 << 20, 'x')).ok())
          ::_exit(3);
        ::raise(signal);
        ::_exit(4);
      }
      int status = 0;
      ASSERT_EQ(::waitpid(child, &status, 0), child);
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
      EXPECT_EQ(listing(), std::vector<fs::path>{}) << signal << " " << standIn;
    }
  }
}

// A stand-in that kill -9 left on a share without unnamed files is removed by
// the next write into the folder; those of running processes, of other
// computers and every other name stay.
TEST_F(JobFiles, AStandInLeftByKillIsRemovedByTheNextWrite) {
  const std::string machine = platform::machineName();
  ASSERT_FALSE(machine.empty());
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    platform::testing::refuseUnnamedFiles(true);
    OutputFile out;
    if (!out.open(dir_ / "out.csv").ok() || !out.write(std::string(1 << 20, 'x')).ok()) ::_exit(3);
    ::raise(SIGKILL);
    ::_exit(4);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
  const std::string left = ".out.csv.kelvane-" + machine + "-" + std::to_string(child) + "-0";
  ASSERT_EQ(listing(), std::vector<fs::path>{left});

  const std::string ours = std::to_string(::getpid());
  const std::vector<fs::path> kept = {
      ".a.csv.kelvane-" + machine + "-" + ours + "-0",            // a write going on
      ".a.csv.kelvane-other-pc-" + std::to_string(child) + "-0",  // another computer's
      ".a.csv.kelvane-" + machine + "-" + std::to_string(child) + "-x",
      ".kelvane-" + machine + "-" + std::to_string(child) + "-0",
      "a.csv.kelvane-" + machine + "-" + std::to_string(child) + "-0",
  };
  for (const fs::path& name : kept) std::ofstream(dir_ / name) << "x";
  platform::testing::refuseUnnamedFiles(true);
  const auto written = test::failureOf(writeFileAtomically(dir_ / "next.csv", "rows"));
  platform::testing::refuseUnnamedFiles(false);
  ASSERT_EQ(written, std::nullopt);
  std::vector<fs::path> expected = kept;
  expected.emplace_back("next.csv");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(listing(), expected);
  EXPECT_EQ(contents(dir_ / "next.csv"), "rows");
}

// A reader that reads a little and closes its end makes the write fail with
// the file's name, as a full disk does; SIGPIPE never ends the program.
TEST_F(JobFiles, APipeWhoseReaderQuitsIsAFailedWrite) {
  const fs::path pipe = dir_ / "pipe.csv";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const auto previous = ::signal(SIGPIPE, SIG_DFL);
  std::thread reader([&pipe] {
    const int fd = ::open(pipe.c_str(), O_RDONLY);
    char few[16];
    if (fd >= 0) {
      (void)::read(fd, few, sizeof few);
      ::close(fd);
    }
  });
  OutputFile out;
  ASSERT_TRUE(out.open(pipe, OutputFile::Reader::Await).ok());
  const auto error = test::failureOf(out.write(std::string(4 << 20, 'x')));
  reader.join();
  ::signal(SIGPIPE, previous);
  EXPECT_EQ(error, "「pipe.csv」を保存できません（読み手が途中で読むのをやめました）。");
  EXPECT_EQ(test::failureOf(out.commit()), error);
  EXPECT_EQ(fs::status(pipe).type(), fs::file_type::fifo);
  sigset_t pending;
  sigemptyset(&pending);
  ASSERT_EQ(::sigpending(&pending), 0);
  EXPECT_EQ(sigismember(&pending, SIGPIPE), 0);  // taken back, not left for later
}

TEST_F(JobFiles, SameFileByAnyName) {
  const fs::path file = dir_ / "coil.kelvane";
  ASSERT_EQ(test::failureOf(writeFileAtomically(file, "job")), std::nullopt);
  fs::create_symlink(file, dir_ / "link.kelvane");
  fs::create_hard_link(file, dir_ / "hard.kelvane");
  EXPECT_TRUE(sameFile(file, dir_ / "link.kelvane"));
  EXPECT_TRUE(sameFile(file, dir_ / "hard.kelvane"));
  EXPECT_TRUE(sameFile(dir_ / "new.csv", dir_ / "." / "new.csv"));
  EXPECT_FALSE(sameFile(file, dir_ / "new.csv"));
  EXPECT_FALSE(sameFile(dir_ / "a.csv", dir_ / "b.csv"));
}

TEST_F(JobFiles, RefusalsNameTheFile) {
  const fs::path huge = dir_ / "huge.kelvane";
  std::ofstream(huge) << std::string(3 * kMaxFileBytes, ' ');
  const fs::path broken = dir_ / "broken.kelvane";
  std::ofstream(broken) << "{";
  // A pipe with no writer must not hold the reader.
  const fs::path pipe = dir_ / "pipe.kelvane";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  // A socket cannot even be opened; its reason is no English sentence.
  const fs::path socketFile = dir_ / "socket.kelvane";
  const int listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, socketFile.c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  // A file the user may not read (root reads every file: the refusal is made).
  const fs::path locked = dir_ / "locked.kelvane";
  std::ofstream(locked) << "{}";
  platform::testing::refuseReading(locked, EACCES);
  const struct {
    fs::path file;
    std::string message;
  } cases[] = {
      {socketFile, "「socket.kelvane」を開けません。通常のファイルではありません。"},
      {dir_ / "missing.kelvane",
       "「missing.kelvane」を開けません。読み込めません（ファイルがありません）。"},
      {dir_, "を開けません。通常のファイルではありません。"},
      {dir_.string() + "/",
       "「" + dir_.string() + "/」を開けません。通常のファイルではありません。"},
      {pipe, "「pipe.kelvane」を開けません。通常のファイルではありません。"},
      {huge, "「huge.kelvane」を開けません。ファイルが大きすぎます（案件ファイルは 1 MiB まで）。"},
      {broken, "「broken.kelvane」を開けません。JSON として読めません（1 行目）。"},
      {locked, "「locked.kelvane」を開けません。読み込めません（権限がありません）。"},
  };
  for (const auto& c : cases) {
    const Expected<Job> read = readJobFile(c.file);
    ASSERT_FALSE(read) << c.file;
    EXPECT_TRUE(read.message().ends_with(c.message)) << read.message();
  }
  platform::testing::refuseReading(locked, 0);
  EXPECT_EQ(readJobFile(locked).message().find("権限"), std::string::npos);  // readable again
  ::close(listening);
}

}  // namespace
}  // namespace kelvane::job
