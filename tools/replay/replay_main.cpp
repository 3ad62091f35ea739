// kelvane-replay: starts the window as at start-up, applies the steps of a
// JSON document and prints what the window then shows, as JSON.
#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

#include "job/platform_files.h"
#include "job/printable_text.h"
#include "job/system_reason.h"
#include "tools/replay/replay.h"
#ifdef KELVANE_WITH_WINDOW
#include "tools/replay/window_replay_target.h"
#endif

namespace {

// Exit statuses: bad input (options, steps) and output that could not be written.
constexpr int kBadInput = 2;
constexpr int kOutputFailed = 1;

int refuse(const std::string& line) {
  std::cerr << "kelvane-replay: " << kelvane::job::withControlsEscaped(line) << "\n";
  return kBadInput;
}

int run(int argc, char** argv) {
  // The streams read and write their own buffers, so a read error reaches
  // the reader and a write error the final flush.
  std::ios_base::sync_with_stdio(false);

  CLI::App app{
      "Applies a list of steps to the Kelvane window and prints the resulting state as JSON."};
  app.footer(
      "Steps longer than " + std::to_string(kelvane::replay::kMaxDocumentBytes / (1024 * 1024)) +
      " MiB or nested deeper than " + std::to_string(kelvane::replay::kMaxNesting) +
      " levels are refused.\n"
      "Exit status: 0 when the state was printed, 2 for bad input (one line on standard error,\n"
      "nothing on standard output), 1 when the output could not be written.");
  std::string file = "-";
  [[maybe_unused]] bool window = false;
  app.add_option("steps", file,
                 "JSON file with {\"steps\": [...]}; - or nothing for standard input");
#ifdef KELVANE_WITH_WINDOW
  app.add_flag("--window", window, "drive the real window on the offscreen platform");
#endif
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e);  // --help
    return refuse(std::string(e.what()) + " (see --help)");
  }

  std::ifstream in;
  if (file != "-") {
    std::error_code ignored;
    if (std::filesystem::is_directory(file, ignored))
      return refuse(file + " is a directory, not a file of steps");
    errno = 0;
    in.open(file, std::ios::binary);
    if (!in)
      return refuse("cannot read " + file +
                    (errno ? ": " + std::string(std::strerror(errno)) : ""));
  }
  std::istream& document = file == "-" ? std::cin : in;

  std::unique_ptr<kelvane::replay::ReplayTarget> target;
#ifdef KELVANE_WITH_WINDOW
  if (window) {
    // The window says itself why it could not be driven.
    target = kelvane::replay::makeWindowReplayTarget(argc, argv);
    if (!target) return kBadInput;
  }
#endif
  if (!target) target = std::make_unique<kelvane::replay::ModelTarget>();

  if (auto applied = kelvane::replay::applySteps(document, *target); !applied.ok())
    return refuse(applied.message());
  std::cout << kelvane::replay::toJson(target->snapshot()) << "\n" << std::flush;
  if (!std::cout) {
    std::cerr << "kelvane-replay: the output could not be written\n";
    return kOutputFailed;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  kelvane::job::platform::ignoreBrokenPipes();
  // Whatever the libraries throw (memory running out, say) ends the replay
  // as bad input does, with its reason in one line; never an abort.
  try {
    return run(argc, argv);
  } catch (const std::exception& e) {
    return refuse(kelvane::job::stoppedBecause(e));
  } catch (...) {
    return refuse("an unknown error stopped the replay");
  }
}
