// The window driven like a person ends up showing exactly what the form
// model holds after the same steps.
#include <algorithm>
#include <array>
#include <sstream>

#include "tests/ui/window_test_support.h"
#include "tools/replay.h"
#include "tools/window_replay_target.h"

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
      const auto error = kelvane::replay::applySteps(in, *target);
      QVERIFY2(!error, error ? error->c_str() : "");
    }
    QCOMPARE(QString::fromStdString(kelvane::replay::toJson(window.snapshot())),
             QString::fromStdString(kelvane::replay::toJson(model.snapshot())));
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
    const auto modelError = kelvane::replay::applySteps(forModel, model);
    const auto windowError = kelvane::replay::applySteps(forWindow, window);
    QVERIFY(modelError);
    QCOMPARE(QString::fromStdString(windowError.value_or("")), QString::fromStdString(*modelError));
  }
};

KELVANE_UI_TEST_MAIN(WindowReplayTest)
#include "window_replay_test.moc"
