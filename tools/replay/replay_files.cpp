// The replay's steps that open and save job files: apart from the rest of the
// replay, so that a build without file access (the browser's) can apply the
// other steps with its own target.
#include "form/form_job.h"
#include "job/file_io.h"
#include "tools/replay/replay.h"

namespace kelvane::replay {

Expected<void> ModelTarget::open(const std::string& path) {
  const Expected<job::Job> job = job::readJobFile(path);
  if (!job) return job.failure();
  opened_ = *job;
  form::applyJob(*job, form_);
  return {};
}

Expected<void> ModelTarget::save(const std::string& path) {
  return job::saveJobFile(path, form::jobToSave(form_, opened_));
}

}  // namespace kelvane::replay
