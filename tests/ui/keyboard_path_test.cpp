// A quotation by keyboard alone: Enter from box to box in reading order and
// 計算 after the last, Shift+Enter back; one Enter takes a dialog from any of
// its fields; Esc closes every window opened beside the form.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTextBrowser>
#include <memory>

#include "tests/ui/window_test_support.h"
#include "tools/replay/replay.h"
#include "tools/replay/window_replay_target.h"
#include "ui/help_window.h"
#include "ui/job_fields_dialog.h"
#include "ui/main_window.h"
#include "ui/quotation_dialog.h"
#include "ui/sheet_window.h"
#include "ui/wire_picker_dialog.h"
#include "wiredata/wire_tables.h"

using kelvane::form::ControlId;
using kelvane::form::text1;
using kelvane::form::text2;
using kelvane::replay::WindowReplayTarget;
using kelvane::ui::test::KeyForMessageBox;

namespace {

QLineEdit* box(WindowReplayTarget& person, const ControlId& id) {
  return qobject_cast<QLineEdit*>(person.window().control(id));
}

// Where the keyboard is, as the window and as the model see it; they must
// agree.
QString focusOf(WindowReplayTarget& person) {
  const auto shown = person.window().controlOf(QApplication::focusWidget());
  const std::string model = person.window().model().state().focus.str();
  if (!shown || shown->str() != model) return QStringLiteral("window and model disagree");
  return QString::fromStdString(model);
}

const kelvane::job::JobFields kFields = [] {
  kelvane::job::JobFields fields;
  fields.customer = "顧客";
  fields.quotationNumber = "見積";
  fields.personInCharge = "担当";
  fields.memo = "メモ";
  fields.workingCelsius = 75;
  return fields;
}();

// The dialog's line boxes in the order they stand: the four texts, then 使用温度.
void showActive(QWidget& w) {
  w.show();
  w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w));
}

}  // namespace

class KeyboardPathTest : public QObject {
  Q_OBJECT

 private slots:
  void enter_walks_each_formers_boxes_then_presses_calculate_data() {
    QTest::addColumn<int>("shape");
    QTest::addColumn<QList<int>>("order");
    QTest::addColumn<bool>("keypad");
    QTest::newRow("round") << 0 << QList<int>{0, 1, 2, 3, 4, 5, 13} << false;
    QTest::newRow("rectangular: B on to r1 and r2")
        << 1 << QList<int>{0, 1, 2, 3, 4, 6, 7, 8, 9, 13} << false;
    QTest::newRow("fan") << 2 << QList<int>{0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13} << false;
    QTest::newRow("fan, the keypad's Enter")
        << 2 << QList<int>{0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13} << true;
  }
  void enter_walks_each_formers_boxes_then_presses_calculate() {
    QFETCH(int, shape);
    QFETCH(QList<int>, order);
    QFETCH(bool, keypad);
    const Qt::Key enter = keypad ? Qt::Key_Enter : Qt::Key_Return;
    const Qt::KeyboardModifiers plain = keypad ? Qt::KeypadModifier : Qt::NoModifier;
    WindowReplayTarget person;
    QVERIFY(person.click({"Option1", shape}));
    QVERIFY(person.focus(text1(order.front())));
    for (qsizetype i = 1; i < order.size(); ++i) {
      QTest::keyClick(QApplication::focusWidget(), enter, plain);
      QCOMPARE(focusOf(person), QString::fromStdString(text1(order[i]).str()));
    }
    QVERIFY(box(person, text2(1))->text().isEmpty());
    // Enter in the last box presses 計算; the focus is on it.
    QTest::keyClick(QApplication::focusWidget(), enter, plain);
    QCOMPARE(focusOf(person), QStringLiteral("Command1"));
    QVERIFY(!box(person, text2(1))->text().isEmpty());
    QVERIFY(person.window().resultsCurrent());

    // Shift+Enter goes back through the same boxes and stops at the first.
    const QList<int> backwards(order.crbegin(), order.crend());
    for (const int box : backwards) {
      QTest::keyClick(QApplication::focusWidget(), enter, plain | Qt::ShiftModifier);
      QCOMPARE(focusOf(person), QString::fromStdString(text1(box).str()));
    }
    QTest::keyClick(QApplication::focusWidget(), enter, plain | Qt::ShiftModifier);
    QCOMPARE(focusOf(person), QString::fromStdString(text1(order.front()).str()));
    QVERIFY(person.snapshot().messages.empty());
  }

  void enter_leaves_a_box_as_a_person_does_data() {
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("turns");
    QTest::newRow("an emptied turns box gets one turn") << R"js([{"type":"Text1(2)","text":""}])js"
                                                        << "Text1(3)"
                                                        << "1";
    QTest::newRow("a typed target is applied, then on as Tab goes")
        << R"js([{"click":"Command1"},{"type":"Text2(7)","text":"2"}])js"
        << "Text2(8)"
        << "30";
    QTest::newRow("a refused press sends the focus back")
        << R"js([{"type":"Text1(0)","text":"0,2"},{"focus":"Text1(13)"}])js"
        << "Text1(0)"
        << "10";
  }
  void enter_leaves_a_box_as_a_person_does() {
    QFETCH(QString, steps);
    QFETCH(QString, focus);
    QFETCH(QString, turns);
    WindowReplayTarget person;
    QVERIFY(kelvane::replay::applySteps(
                QStringLiteral(R"js({"steps":%1})js").arg(steps).toStdString(), person)
                .ok());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(focusOf(person), focus);
    QCOMPARE(box(person, text1(2))->text(), turns);
  }

  // One Enter in any box of 案件情報 takes the fields; the memo and the
  // remarks, where Enter starts a new line, take Ctrl+Enter. A bad 使用温度
  // keeps the dialog open.
  void one_enter_takes_the_fields_dialog_data() {
    QTest::addColumn<QString>("field");  // a box's object name, or キャンセル
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<int>("result");
    const int plain = Qt::NoModifier, ctrl = Qt::ControlModifier, keypad = Qt::KeypadModifier;
    const int taken = QDialog::Accepted, open = -1, calledOff = QDialog::Rejected;
    QTest::newRow("顧客名") << "customer" << plain << "80" << taken;
    QTest::newRow("見積番号") << "quotationNumber" << plain << "80" << taken;
    QTest::newRow("担当者") << "personInCharge" << plain << "80" << taken;
    QTest::newRow("件名") << "subject" << plain << "80" << taken;
    QTest::newRow("納期") << "deliveryTerms" << plain << "80" << taken;
    QTest::newRow("支払条件") << "paymentTerms" << plain << "80" << taken;
    QTest::newRow("有効期限") << "validDays" << plain << "80" << taken;
    QTest::newRow("使用温度") << "workingCelsius" << plain << "80" << taken;
    QTest::newRow("使用温度 by the keypad's Enter") << "workingCelsius" << keypad << "80" << taken;
    QTest::newRow("使用温度 refused") << "workingCelsius" << plain << "600" << open;
    QTest::newRow("メモ by Ctrl+Enter") << "memo" << ctrl << "80" << taken;
    QTest::newRow("メモ: Enter is a new line") << "memo" << plain << "80" << open;
    QTest::newRow("メモ by Ctrl+Enter, 使用温度 refused") << "memo" << ctrl << "abc" << open;
    QTest::newRow("備考 by Ctrl+Enter") << "remarks" << ctrl << "80" << taken;
    QTest::newRow("備考: Enter is a new line") << "remarks" << plain << "80" << open;
    QTest::newRow("Enter on キャンセル") << "キャンセル" << plain << "80" << calledOff;
  }
  void one_enter_takes_the_fields_dialog() {
    QFETCH(QString, field);
    QFETCH(int, modifiers);
    QFETCH(QString, temperature);
    QFETCH(int, result);
    kelvane::ui::JobFieldsDialog dialog(kFields, nullptr);
    showActive(dialog);
    auto* celsius = dialog.findChild<QLineEdit*>(QStringLiteral("workingCelsius"));
    celsius->setText(temperature);
    auto* at = dialog.findChild<QWidget*>(field);
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
      if (b->text() == field) at = b;
    QVERIFY(at);
    at->setFocus(Qt::TabFocusReason);
    auto* text = qobject_cast<QPlainTextEdit*>(at);
    if (text) text->moveCursor(QTextCursor::End);
    const auto mods = Qt::KeyboardModifiers(modifiers);
    QTest::keyClick(at, mods & Qt::KeypadModifier ? Qt::Key_Enter : Qt::Key_Return, mods);
    if (result == -1) {
      QVERIFY(dialog.isVisible());
      QVERIFY(dialog.fields() == kFields);
    } else {
      QVERIFY(!dialog.isVisible());
      QCOMPARE(dialog.result(), result);
    }
    if (result == QDialog::Accepted) QCOMPARE(dialog.fields().workingCelsius, 80.0);
    if (text && modifiers == Qt::NoModifier)
      QVERIFY(text->toPlainText().endsWith(QLatin1Char('\n')));
    if (temperature == "600" || temperature == "abc") {
      // Refused: the red reason, and 使用温度 selected to be typed over.
      QVERIFY(std::ranges::any_of(dialog.findChildren<QLabel*>(), [](QLabel* l) {
        return l->isVisible() && l->text().startsWith(QStringLiteral("使用温度"));
      }));
      QCOMPARE(QApplication::focusWidget(), celsius);
      QCOMPARE(celsius->selectedText(), temperature);
    }
  }

  // The wire picker takes the chosen cell on one Enter from the table list
  // as from the table itself.
  void one_enter_takes_the_wire_picker_data() {
    QTest::addColumn<bool>("fromTableList");
    QTest::newRow("in the table") << false;
    QTest::newRow("in the table list") << true;
  }
  void one_enter_takes_the_wire_picker() {
    QFETCH(bool, fromTableList);
    const auto& tables = kelvane::wiredata::standardWireTables();
    QVERIFY(tables && !tables->empty());
    kelvane::ui::WirePickerDialog dialog(*tables, nullptr);
    showActive(dialog);
    QTableWidget& grid = dialog.grid();
    grid.setCurrentCell(0, 1);
    QVERIFY(dialog.choice());
    QWidget* at = fromTableList ? static_cast<QWidget*>(&dialog.tableChoice()) : &grid;
    at->setFocus(Qt::TabFocusReason);
    QTest::keyClick(at, Qt::Key_Return);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
  }

  void esc_closes_every_secondary_window_data() {
    QTest::addColumn<QString>("window");
    QTest::newRow("help") << "help";
    QTest::newRow("data sheet") << "sheet";
    QTest::newRow("wire picker, in the table") << "picker";
    QTest::newRow("wire picker, in the table list") << "picker list";
    QTest::newRow("案件情報, a field typed over") << "fields";
    QTest::newRow("案件情報, in the memo") << "fields memo";
  }
  void esc_closes_every_secondary_window() {
    QFETCH(QString, window);
    if (window == "help") {
      kelvane::ui::HelpWindow help(nullptr);
      showActive(help);
      auto* browser = help.findChild<QTextBrowser*>();
      browser->setFocus(Qt::OtherFocusReason);
      QTest::keyClick(browser, Qt::Key_Escape);
      QVERIFY(!help.isVisible());
    } else if (window == "sheet") {
      WindowReplayTarget person;
      QVERIFY(person.click({"Command2", -1}));
      kelvane::ui::SheetWindow& sheet = person.window().sheet();
      QTRY_VERIFY(sheet.isVisible());
      showActive(sheet);
      QWidget* text = sheet.findChild<QPlainTextEdit*>();
      text->setFocus(Qt::OtherFocusReason);
      QTest::keyClick(text, Qt::Key_Escape);
      QVERIFY(!sheet.isVisible());
      QVERIFY(!person.window().model().state().sheetOpen);
    } else if (window.startsWith("picker")) {
      const auto& tables = kelvane::wiredata::standardWireTables();
      QVERIFY(tables && !tables->empty());
      kelvane::ui::WirePickerDialog dialog(*tables, nullptr);
      showActive(dialog);
      dialog.grid().setCurrentCell(0, 1);
      QWidget* at =
          window.endsWith("list") ? static_cast<QWidget*>(&dialog.tableChoice()) : &dialog.grid();
      at->setFocus(Qt::TabFocusReason);
      QTest::keyClick(at, Qt::Key_Escape);
      QVERIFY(!dialog.isVisible());
      QCOMPARE(dialog.result(), int(QDialog::Rejected));
    } else {
      kelvane::ui::JobFieldsDialog dialog(kFields, nullptr);
      showActive(dialog);
      auto* customer = dialog.findChild<QLineEdit*>(QStringLiteral("customer"));
      QTest::keyClicks(customer, QStringLiteral("X"));
      QWidget* at = customer;
      if (window.endsWith("memo")) at = dialog.findChild<QPlainTextEdit*>(QStringLiteral("memo"));
      at->setFocus(Qt::TabFocusReason);
      // What was typed is asked about; a second Esc discards it.
      KeyForMessageBox again(Qt::Key_Escape);
      QTest::keyClick(at, Qt::Key_Escape);
      QCOMPARE(again.question, QStringLiteral("入力を破棄しますか？"));
      QVERIFY(!dialog.isVisible());
      QCOMPARE(dialog.result(), int(QDialog::Rejected));
      QVERIFY(dialog.fields() == kFields);  // nothing taken
    }
  }

  // Esc over typed entries asks 「入力を破棄しますか？」: Esc again or はい
  // discards them, いいえ (Enter: the default) keeps the dialog open with
  // them. Nothing typed, or typed back as it was, closes at once.
  void esc_asks_before_typed_entries_go_data() {
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("answer");  // the key for the question; 0: none asked
    QTest::addColumn<bool>("closed");
    for (const QString& dialog : {QStringLiteral("案件情報"), QStringLiteral("見積")}) {
      const char* name = dialog == QStringLiteral("案件情報") ? "fields" : "terms";
      QTest::newRow(qPrintable(QStringLiteral("%1, nothing typed").arg(name)))
          << dialog << QString() << 0 << true;
      QTest::newRow(qPrintable(QStringLiteral("%1, typed back").arg(name)))
          << dialog << QStringLiteral("9\b") << 0 << true;
      QTest::newRow(qPrintable(QStringLiteral("%1, Esc again").arg(name)))
          << dialog << QStringLiteral("9") << int(Qt::Key_Escape) << true;
      QTest::newRow(qPrintable(QStringLiteral("%1, Enter keeps").arg(name)))
          << dialog << QStringLiteral("9") << int(Qt::Key_Return) << false;
    }
  }
  void esc_asks_before_typed_entries_go() {
    QFETCH(QString, dialog);
    QFETCH(QString, typed);
    QFETCH(int, answer);
    QFETCH(bool, closed);
    std::unique_ptr<QDialog> shown;
    if (dialog == QStringLiteral("案件情報")) {
      shown = std::make_unique<kelvane::ui::JobFieldsDialog>(kFields, nullptr);
    } else {
      kelvane::ui::PricedCoil coil{
          [] { return false; }, [] { return false; },
          [](const kelvane::job::QuotationTerms&) -> kelvane::Expected<kelvane::job::CoilPrice> {
            return kelvane::Failure{"未計算"};
          },
          [] { return kelvane::ConductorMaterial::Copper; },
          [](kelvane::ConductorMaterial) { return kelvane::job::PricingTerms{}; }};
      shown = std::make_unique<kelvane::ui::QuotationDialog>(kelvane::job::PricingTerms{},
                                                             std::move(coil), nullptr);
    }
    showActive(*shown);
    auto* box = shown->findChild<QLineEdit*>();
    QVERIFY(box);
    box->setFocus(Qt::TabFocusReason);
    box->end(false);
    for (const QChar c : typed) {
      if (c == QLatin1Char('\b')) {
        QTest::keyClick(box, Qt::Key_Backspace);
      } else {
        QTest::keyClicks(box, QString(c));
      }
    }
    const QString kept = box->text();
    KeyForMessageBox question(static_cast<Qt::Key>(answer ? answer : Qt::Key_Escape));
    QTest::keyClick(box, Qt::Key_Escape);
    QCOMPARE(question.question, answer ? QStringLiteral("入力を破棄しますか？") : QString());
    if (answer) {
      QStringList buttons = question.buttons;
      buttons.sort();
      QCOMPARE(buttons, (QStringList{QStringLiteral("いいえ"), QStringLiteral("はい")}));
    }
    QCOMPARE(shown->isVisible(), !closed);
    if (closed) {
      QCOMPARE(shown->result(), int(QDialog::Rejected));
    } else {
      QCOMPARE(box->text(), kept);
      shown->reject();
    }
  }
};

KELVANE_UI_TEST_MAIN(KeyboardPathTest)
#include "keyboard_path_test.moc"
