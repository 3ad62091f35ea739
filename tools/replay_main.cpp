// kelvane-replay: starts the window as at start-up, applies the steps of a
// JSON document and prints what the window then shows, as JSON.
#include <CLI/CLI.hpp>
#include <fstream>
#include <iostream>
#include <memory>

#include "tools/replay.h"
#ifdef KELVANE_WITH_WINDOW
#include "tools/window_replay_target.h"
#endif

int main(int argc, char** argv) {
  CLI::App app{"Applies a list of steps to the Kelvane window and prints the resulting state as JSON."};
  std::string file = "-";
  [[maybe_unused]] bool window = false;
  app.add_option("steps", file, "JSON file with {\"steps\": [...]}; - or nothing for standard input");
#ifdef KELVANE_WITH_WINDOW
  app.add_flag("--window", window, "drive the real window on the offscreen platform");
#endif
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int rc = app.exit(e);
    return rc == 0 ? 0 : 2;
  }

  std::ifstream in;
  if (file != "-") {
    in.open(file);
    if (!in) {
      std::cerr << "kelvane-replay: cannot read " << file << "\n";
      return 2;
    }
  }
  std::istream& document = file == "-" ? std::cin : in;

  std::unique_ptr<kelvane::replay::ReplayTarget> target;
#ifdef KELVANE_WITH_WINDOW
  if (window) {
    // The window says itself why it could not be driven.
    target = kelvane::replay::makeWindowReplayTarget(argc, argv);
    if (!target) return 2;
  }
#endif
  if (!target) target = std::make_unique<kelvane::replay::ModelTarget>();

  if (auto error = kelvane::replay::applySteps(document, *target)) {
    std::cerr << "kelvane-replay: " << *error << "\n";
    return 2;
  }
  std::cout << kelvane::replay::toJson(target->snapshot()) << "\n";
  return 0;
}
