// The job reader on arbitrary bytes: a job, which reads back the same after
// saving, or one refusal of one line — never a crash, a hang or a leak.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_checks.h"
#include "job/job_json.h"

using namespace kelvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Expected<job::Job> read = job::readJob(text);
  if (!read) {
    FUZZ_CHECK(!read.message().empty());
    FUZZ_CHECK(read.message().find('\n') == std::string::npos);
    return 0;
  }
  const Expected<job::Job> again = job::readJob(job::writeJob(*read));
  FUZZ_CHECK(again);
  FUZZ_CHECK(*again == *read);
  return 0;
}
