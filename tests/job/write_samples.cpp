// Saves the sample jobs and price lists into a directory, for checking them
// against the published schemas: write_samples <directory>.
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "job/file_io.h"
#include "job/job_json.h"
#include "job/output_file.h"
#include "job_fixtures.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_samples <directory>\n");
    return 2;
  }
  using namespace kelvane::job;
  const std::filesystem::path dir = argv[1];
  for (const test::NamedJob& sample : test::sampleJobs()) {
    const Job job = stampForSaving(sample.job, std::chrono::system_clock::now());
    const kelvane::Expected<void> written =
        writeFileAtomically(dir / (sample.name + ".kelvane"), writeJob(job));
    if (!written.ok()) {
      std::fprintf(stderr, "%s\n", written.message().c_str());
      return 1;
    }
  }
  for (const test::NamedPriceList& sample : test::samplePriceLists()) {
    const auto saved = savePriceListFile(dir / (sample.name + ".prices.json"), sample.list,
                                         std::chrono::system_clock::now());
    if (!saved) {
      std::fprintf(stderr, "%s\n", saved.message().c_str());
      return 1;
    }
  }
  return 0;
}
