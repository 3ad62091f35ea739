// The window driven like a person ends up showing exactly what the form
// model holds after the same steps.
#include <algorithm>
#include <array>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/ui/window_test_support.h"
#include "tools/replay/replay.h"
#include "tools/replay/window_replay_target.h"

namespace {

using kelvane::ui::test::failureText;
using nlohmann::json;

// Random step lists a person could take at the window: texts typed into the
// boxes, clicks on the option buttons and both buttons, Enter and F12, focus
// moves. Each list is built step by step against the form model, which keeps
// only the steps it can take (no hidden box, say), so every list is reachable.
// The same seed gives the same lists on every machine: only the engine's raw
// output is used, no distribution of the library's.
class StepListGenerator {
 public:
  explicit StepListGenerator(std::uint64_t seed) : random_(seed) {}

  json next() {
    kelvane::replay::ModelTarget model;
    json steps = json::array();
    const std::size_t length = 4 + pick(18);
    while (steps.size() < length) {
      const json step = proposal();
      const std::string one = json{{"steps", json::array({step})}}.dump();
      if (kelvane::replay::applySteps(one, model).ok()) steps.push_back(step);
    }
    return json{{"steps", steps}};
  }

 private:
  std::size_t pick(std::size_t n) { return static_cast<std::size_t>(random_() % n); }
  template <typename T>
  const T& oneOf(const std::vector<T>& from) {
    return from[pick(from.size())];
  }
  static std::string control(const char* name, std::size_t index) {
    return std::string(name) + "(" + std::to_string(index) + ")";
  }

  // Any box that shows, mostly the inputs and the four green targets.
  std::string someBox() {
    if (pick(3) != 0) return control("Text1", pick(14));
    if (pick(4) != 0) return control("Text2", oneOf<std::size_t>({7, 10, 12, 14}));
    return control("Text2", pick(22));
  }

  std::string someText(const std::string& box) {
    // What people type into a box: the design values and their like.
    static const std::vector<std::string> plausible = {
        "0.2",  "0.21", "10",  "0.8",  "2",   "0.3",  "1",  "5",  "50",  "100", "0.5",
        "0.55", "3",    "12",  "0",    "1.5", "0.05", "20", "60", "90",  "45",  "7",
        "999",  "1000", "0.6", "2.11", "0.1", "30",   "4",  "25", "0.25"};
    // And what a box must survive.
    static const std::vector<std::string> hostile = {
        "",       "NaN",        "inf",        "abc",       "１２",
        "０．２", "1,000",      "0,5",        "1e400",     std::string(400, '9'),
        "-0",     "-1",         "12abc",      " 1 2 ",     "１，０００",
        "+5",     "－3",        "1e-320",     "\t",        "重量",
        "&H10",   "1.2.3",      "10 mm",      "0.0000001", "-1e308",
        "1e308",  "9999999999", "2000000001", "1e6",       "-1000001"};
    // A target is a height, weight or resistance near the coil's own: one a
    // thousand million turns away is the solver's business, and only long.
    static const std::vector<std::string> targets = {
        "0.2", "0.21", "0.5", "0.574", "0.63", "1", "1.5", "2", "5", "7", "10", "20", "0.05"};
    static const std::vector<std::string> hostileTargets = {
        "",   "NaN", "abc",   "１２",  "０．５", "0,5", "1,00", "1e400", std::string(400, '9'),
        "-0", "-1",  "12abc", "1e-320"};
    static const std::vector<std::string> hostileHeights = {"1e12", "-1e12", "1e308"};
    const bool target =
        box == "Text2(7)" || box == "Text2(10)" || box == "Text2(12)" || box == "Text2(14)";
    const bool height = box == "Text2(7)" || box == "Text2(14)";
    if (!target) return oneOf(pick(3) != 0 ? plausible : hostile);
    if (pick(3) != 0) return oneOf(targets);
    return oneOf(height && pick(3) == 0 ? hostileHeights : hostileTargets);
  }

  json proposal() {
    switch (pick(10)) {
      case 0:
      case 1:
      case 2:
      case 3: {
        const std::string box = someBox();
        return {{"type", box}, {"text", someText(box)}};
      }
      case 4:
        return {{"click", control("Option1", pick(3))}};
      case 5:
        return {{"click", control("Option3", pick(3))}};
      case 6:
        return {{"click", pick(3) != 0 ? "Command1" : "Command2"}};
      case 7:
        return {{"key", pick(2) != 0 ? 13 : 123}};
      default:
        switch (pick(4)) {
          case 0:
            return {{"focus", control(pick(2) != 0 ? "Option1" : "Option3", pick(3))}};
          case 1:
            return {{"focus", pick(2) != 0 ? "Command1" : "Command2"}};
          default:
            return {{"focus", someBox()}};
        }
    }
  }

  std::mt19937_64 random_;
};

}  // namespace

class WindowReplayTest : public QObject {
  Q_OBJECT

 private slots:
  void window_shows_the_model_state_data() {
    QTest::addColumn<QString>("steps");
    QTest::newRow("start-up") << "[]";
    QTest::newRow("design press") << R"js([{"click":"Command1"}])js";
    QTest::newRow("every step kind") << R"js([
        {"type":"Text1(2)","text":""}, {"focus":"Text1(3)"}, {"set":"Text1(9)","text":""},
        {"click":"Option1(0)"}, {"click":"Option3(1)"}, {"click":"Command2"}, {"key":123},
        {"close":"Form2"}, {"click":"Command2"}])js";
    QTest::newRow("round former press") << R"js([{"click":"Option1(0)"}, {"click":"Command1"}])js";
    QTest::newRow("fan former, 40 turns") << R"js([
        {"click":"Option1(2)"}, {"type":"Text1(2)","text":"40"}, {"click":"Command1"}])js";
    QTest::newRow("fan angle and width") << R"js([
        {"click":"Option1(2)"}, {"type":"Text1(11)","text":"90"}, {"focus":"Text1(12)"},
        {"type":"Text1(12)","text":"60"}, {"focus":"Text1(13)"}])js";
    QTest::newRow("empty sides filled in") << R"js([
        {"type":"Text1(6)","text":""}, {"type":"Text1(7)","text":"0.0"}, {"focus":"Text1(8)"}])js";
    QTest::newRow("weight target, then press") << R"js([
        {"click":"Command1"}, {"type":"Text2(10)","text":"100"}, {"click":"Command1"}])js";
    QTest::newRow("resistance target left by Tab order") << R"js([
        {"click":"Command1"}, {"type":"Text2(12)","text":"1"}, {"focus":"Text1(13)"}])js";
    QTest::newRow("heights as targets") << R"js([
        {"click":"Command1"}, {"type":"Text2(7)","text":"2"}, {"focus":"Text2(14)"},
        {"type":"Text2(14)","text":"3"}, {"click":"Command1"}])js";
    QTest::newRow("target after the wire changed") << R"js([
        {"click":"Command1"}, {"type":"Text1(1)","text":"0.3"}, {"type":"Text2(10)","text":"100"},
        {"focus":"Text1(13)"}, {"click":"Command1"}])js";
    // A target that 計算 would refuse sends the focus to the box at fault,
    // while the focus is on its way elsewhere.
    QTest::newRow("refused target, then a press") << R"js([
        {"click":"Command1"}, {"type":"Text1(1)","text":"0"}, {"type":"Text2(10)","text":"5"},
        {"click":"Command1"}])js";
    QTest::newRow("refused target, then typing elsewhere") << R"js([
        {"click":"Command1"}, {"type":"Text1(0)","text":"0,5"}, {"type":"Text2(7)","text":"1"},
        {"type":"Text1(3)","text":"12"}, {"focus":"Text1(4)"}])js";
    QTest::newRow("fan outline that cannot close") << R"js([
        {"click":"Command1"}, {"click":"Option1(2)"}, {"type":"Text1(7)","text":"16"},
        {"type":"Text1(6)","text":"3.1"}, {"type":"Text1(10)","text":"12"},
        {"type":"Text1(11)","text":"39"}, {"type":"Text2(12)","text":"5"}, {"click":"Command1"}])js";
    QTest::newRow("1000 turns: the note") << R"js([
        {"type":"Text1(2)","text":"1000"}, {"click":"Command1"}])js";
    QTest::newRow("note, then a drawing again") << R"js([
        {"type":"Text1(2)","text":"1000"}, {"click":"Command1"},
        {"type":"Text1(2)","text":"7"}, {"click":"Command1"}])js";
    QTest::newRow("material change empties the results") << R"js([
        {"click":"Command1"}, {"click":"Option3(2)"}, {"click":"Option3(2)"}])js";
    QTest::newRow("refused press shows a message") << R"js([
        {"type":"Text1(4)","text":"0.1"}, {"click":"Command1"}])js";
    QTest::newRow("sheet of an unreadable diameter") << R"js([
        {"type":"Text1(0)","text":"0.2mm"}, {"click":"Command2"}])js";
    QTest::newRow("Japanese and odd text typed") << R"js([
        {"type":"Text1(3)","text":"１０ミリ"}, {"type":"Text1(13)","text":"a\tb"},
        {"type":"Text2(16)","text":"重量"}, {"click":"Command1"}])js";
    QTest::newRow("absurd numbers") << R"js([
        {"type":"Text1(2)","text":"1e308"}, {"click":"Command1"},
        {"type":"Text1(0)","text":"-1e308"}, {"click":"Command1"}, {"click":"Command2"}])js";
    const QString longText(40000, QLatin1Char('7'));
    QTest::newRow("longer than a line edit's default limit")
        << QStringLiteral(
               R"js([{"set":"Text1(13)","text":"%1"}, {"set":"Text2(0)","text":"%1"}])js")
               .arg(longText);
    QTest::newRow("Enter through the fan's boxes to 計算") << R"js([
        {"click":"Option1(2)"}, {"focus":"Text1(0)"}, {"key":13}, {"key":13}, {"key":13},
        {"key":13}, {"key":13}, {"key":13}, {"key":13}, {"key":13}, {"key":13}, {"key":13},
        {"key":13}, {"key":13}, {"key":13}])js";
    QTest::newRow("Enter out of an emptied box and a target") << R"js([
        {"type":"Text1(7)","text":""}, {"key":13}, {"click":"Command1"},
        {"type":"Text2(10)","text":"50"}, {"key":13}, {"key":13}])js";
    QTest::newRow("Enter on buttons") << R"js([
        {"focus":"Option1(0)"}, {"key":13}, {"focus":"Command2"}, {"key":13},
        {"focus":"Text2(3)"}, {"key":13}])js";
    // Emptying a box that is empty already is no edit: no target is left.
    QTest::newRow("crossed height emptied before any press") << R"js([
        {"type":"Text2(14)","text":""}, {"click":"Option1(0)"}, {"click":"Option1(0)"},
        {"key":123}, {"type":"Text1(0)","text":"NaN"}, {"click":"Command1"},
        {"click":"Command1"}, {"click":"Option3(0)"}, {"click":"Option3(1)"},
        {"type":"Text1(1)","text":"0.0000001"}, {"click":"Option3(2)"},
        {"type":"Text1(5)","text":"１２"}, {"click":"Command2"}])js";
    QTest::newRow("emptied weight box after refused presses")
        << QStringLiteral(R"js([
        {"type":"Text1(1)","text":"%1"}, {"key":123}, {"type":"Text1(1)","text":"-0"},
        {"key":123}, {"click":"Option3(0)"}, {"click":"Command1"}, {"focus":"Text1(0)"},
        {"focus":"Text2(7)"}, {"click":"Option3(0)"}, {"click":"Command1"},
        {"type":"Text2(10)","text":""}, {"key":123}, {"click":"Command2"},
        {"click":"Command1"}])js")
               .arg(QString(400, QLatin1Char('9')));
    // Only the green boxes take typing, whichever way the text comes.
    QTest::newRow("typing into results that are no targets") << R"js([
        {"click":"Command1"}, {"type":"Text2(0)","text":"5"}, {"type":"Text2(8)","text":"重量"},
        {"type":"Text2(3)","text":""}, {"focus":"Text1(0)"}])js";
    // A target refused while an option button is clicked keeps the focus on
    // the box to correct, and the shape changes all the same.
    QTest::newRow("refused target, then an option button and Enter") << R"js([
        {"click":"Option1(0)"}, {"click":"Command1"}, {"type":"Text1(1)","text":"0"},
        {"type":"Text2(12)","text":"0.5"}, {"click":"Option1(1)"}, {"key":13}])js";
    QTest::newRow("program fills a focused box") << R"js([
        {"focus":"Text1(2)"}, {"set":"Text1(2)","text":"0"}, {"focus":"Text1(3)"}])js";

    // Option buttons are clicked with the mouse, which reaches the ones that
    // are off although Tab no longer stops at them; and focused as a mouse
    // does it, pressed and released beside them.
    std::array order = {0, 1, 2};
    do {
      QString steps;
      for (int i : order) steps += QStringLiteral(R"js({"click":"Option1(%1)"}, )js").arg(i);
      for (int i : order) steps += QStringLiteral(R"js({"click":"Option3(%1)"}, )js").arg(i);
      QTest::newRow(qPrintable(QStringLiteral("option buttons %1%2%3 in both groups")
                                   .arg(order[0])
                                   .arg(order[1])
                                   .arg(order[2])))
          << QStringLiteral("[%1{\"click\":\"Command1\"}]").arg(steps);
    } while (std::next_permutation(order.begin(), order.end()));
    QTest::newRow("option buttons that are off focused") << R"js([
        {"click":"Option1(2)"}, {"focus":"Option1(0)"}, {"focus":"Option3(2)"},
        {"click":"Option3(1)"}, {"focus":"Option3(0)"}, {"type":"Text1(2)","text":"9"},
        {"focus":"Option1(1)"}, {"click":"Option1(1)"}])js";

    // Long typing, one edit per step, in each way a text reaches a box.
    QTest::newRow("40,000 characters typed")
        << QStringLiteral(R"js([{"type":"Text1(13)","text":"%1"}, {"focus":"Text1(0)"},
                              {"type":"Text2(16)","text":"%2"}, {"type":"Text1(3)","text":"%3"},
                              {"focus":"Text1(4)"}])js")
               .arg(QString(40000, QLatin1Char('7')), QString(40000, QChar(0x91CD)),
                    QStringLiteral("1\\t").repeated(20000));
    QTest::newRow("many data sheets, closed, one more")
        << QStringLiteral(R"js([%1
        {"close":"Form2"}, {"click":"Command2"}])js")
               .arg(QStringLiteral(R"js({"click":"Command2"},)js").repeated(100));

    // Every text reads the same in both; leading byte-order marks are dropped.
    QTest::newRow("byte-order marks") << R"js([
        {"type":"Text1(13)","text":"\ufeff5"}, {"set":"Text1(3)","text":"\ufeff\ufeffab"},
        {"type":"Text1(4)","text":"a\ufeffb\ufeff"}, {"set":"Text1(1)","text":"\ufeff"},
        {"type":"Text1(2)","text":"\ufeff\ufeff"}, {"focus":"Text1(0)"}])js";
    QTest::newRow("control and unusual characters") << R"js([
        {"type":"Text1(13)","text":"a\u0000b"}, {"type":"Text1(7)","text":"a\nb\r\nc"},
        {"type":"Text1(8)","text":"\u2028x\u2029"},
        {"type":"Text1(1)","text":"\u007f\u0001 \u200b\ud83d\ude00\u0301"},
        {"type":"Text1(3)","text":"\uffff\ufffe\u05d0\u05d1 12"}, {"set":"Text1(4)","text":"a\u0000\n"},
        {"type":"Text1(0)","text":"x\ufeff"}, {"type":"Text2(16)","text":" \t"}, {"focus":"Text1(2)"}])js";
  }
  void window_shows_the_model_state() {
    QFETCH(QString, steps);
    const std::string document = "{\"steps\":" + steps.toStdString() + "}";
    kelvane::replay::ModelTarget model;
    kelvane::replay::WindowReplayTarget window;
    for (kelvane::replay::ReplayTarget* target :
         std::initializer_list<kelvane::replay::ReplayTarget*>{&model, &window}) {
      std::istringstream in(document);
      const auto applied = kelvane::replay::applySteps(in, *target);
      QVERIFY2(applied.ok(), failureText(applied));
    }
    QCOMPARE(QString::fromStdString(kelvane::replay::toJson(window.snapshot())),
             QString::fromStdString(kelvane::replay::toJson(model.snapshot())));
  }

  // A thousand random step lists end the same in the window and in the model.
  void random_step_lists_end_alike() {
    constexpr int kLists = 1000;
    StepListGenerator generator(20);
    for (int n = 0; n < kLists; ++n) {
      const std::string document = generator.next().dump();
      kelvane::replay::ModelTarget model;
      kelvane::replay::WindowReplayTarget window;
      const auto modelApplied = kelvane::replay::applySteps(document, model);
      QVERIFY2(modelApplied.ok(), failureText(modelApplied));
      const auto windowApplied = kelvane::replay::applySteps(document, window);
      const QByteArray where =
          QByteArray("list ") + QByteArray::number(n) + ": " + QByteArray::fromStdString(document);
      QVERIFY2(windowApplied.ok(), where + "\n" + failureText(windowApplied));
      const json shown = json::parse(kelvane::replay::toJson(window.snapshot()));
      const json held = json::parse(kelvane::replay::toJson(model.snapshot()));
      QByteArray differences;
      for (const auto& [key, value] : held.items()) {
        if (shown[key] != value)
          differences += QByteArray::fromStdString("\n" + key + ": window " + shown[key].dump() +
                                                   ", model " + value.dump());
      }
      QVERIFY2(differences.isEmpty(), where + differences);
    }
  }

  // Steps the model refuses, the window refuses too.
  void unreachable_controls_are_refused_data() {
    QTest::addColumn<QString>("steps");
    QTest::newRow("hidden box") << R"js([{"focus":"Text1(5)"}])js";
    QTest::newRow("hidden box typed") << R"js([{"type":"Text1(10)","text":"1"}])js";
    QTest::newRow("caption") << R"js([{"focus":"Label1(0)"}])js";
    QTest::newRow("frame") << R"js([{"click":"Frame2"}])js";
    QTest::newRow("box clicked") << R"js([{"click":"Text1(0)"}])js";
    QTest::newRow("button typed") << R"js([{"type":"Command1","text":"x"}])js";
    QTest::newRow("picture") << R"js([{"focus":"OLE1"}])js";
    QTest::newRow("hidden result box") << R"js([{"click":"Option1(0)"}, {"focus":"Text2(4)"}])js";
  }
  void unreachable_controls_are_refused() {
    QFETCH(QString, steps);
    const std::string document = "{\"steps\":" + steps.toStdString() + "}";
    kelvane::replay::ModelTarget model;
    kelvane::replay::WindowReplayTarget window;
    std::istringstream forModel(document), forWindow(document);
    const auto modelApplied = kelvane::replay::applySteps(forModel, model);
    const auto windowApplied = kelvane::replay::applySteps(forWindow, window);
    QVERIFY(!modelApplied.ok());
    QCOMPARE(failureText(windowApplied), failureText(modelApplied));
  }
};

KELVANE_UI_TEST_MAIN(WindowReplayTest)
#include "window_replay_test.moc"
