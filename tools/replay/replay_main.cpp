// kelvane-replay: starts the window as at start-up, applies the steps of a
// JSON document and prints what the window then shows, as JSON.
#include <CLI/CLI.hpp>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

#include "job/output_file.h"
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
      "Kelvane のウィンドウに手順の一覧を当て、そのあとのウィンドウの状態を JSON で出力します。"};
  app.footer("手順は " + std::to_string(kelvane::replay::kMaxDocumentBytes / (1024 * 1024)) +
             " MiB まで、入れ子は " + std::to_string(kelvane::replay::kMaxNesting) +
             " 段までです。\n"
             "終了状態: 状態を出力したとき 0、入力の誤りは 2（標準エラーに 1 行、標準出力には\n"
             "何も出しません）、出力を書き込めなかったとき 1。");
  // CLI11's headings in Japanese, as the rest of the help.
  app.get_formatter()->label("Usage", "使い方");
  app.get_formatter()->label("OPTIONS", "オプション");
  app.get_formatter()->label("Positionals", "引数");
  app.get_formatter()->label("TEXT", "FILE");
  app.option_defaults()->group("オプション");
  app.set_help_flag("-h,--help", "この使い方を表示します");
  std::string file = "-";
  [[maybe_unused]] bool window = false;
  app.add_option("steps", file, "{\"steps\": [...]} を書いた JSON ファイル。- か省略で標準入力");
#ifdef KELVANE_WITH_WINDOW
  app.add_flag("--window", window, "本物のウィンドウを画面なし（offscreen）で動かします");
#endif
  try {
    app.parse(argc, argv);
  } catch (const CLI::ExtrasError&) {
    std::string extras;
    for (const std::string& extra : app.remaining()) extras += (extras.empty() ? "" : " ") + extra;
    return refuse("使えない引数です: " + extras + "（--help で使い方を表示します）");
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e);  // --help
    return refuse("コマンドラインを読めません（--help で使い方を表示します）");
  }

  std::ifstream in;
  if (file != "-") {
    std::error_code ignored;
    if (std::filesystem::is_directory(file, ignored))
      return refuse("「" + kelvane::job::displayName(file) +
                    "」はフォルダーです。手順のファイルを指定してください。");
    errno = 0;
    in.open(file, std::ios::binary);
    if (!in)
      return refuse("「" + kelvane::job::displayName(file) + "」を読み込めません" +
                    (errno ? "（" + kelvane::job::systemReason(errno) + "）" : "") + "。");
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
    std::cerr << "kelvane-replay: 結果を標準出力に書き込めません。\n";
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
    return refuse("予期しないエラーで終了します。");
  }
}
