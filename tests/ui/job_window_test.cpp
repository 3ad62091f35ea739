// The window with its menu: jobs saved and opened, bad files refused with the
// window left as it was, the title's marker of unsaved changes, the question
// before changes are dropped, the results copied and exported, help, and the
// form's own keys going on as before.
#include <sys/stat.h>

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QWindow>
#include <algorithm>
#include <cerrno>
#include <memory>

#include "form/control_table.h"
#include "form/form_job.h"
#include "job/job_json.h"
#include "job/platform_files.h"
#include "job/results_table.h"
#include "tests/job/job_fixtures.h"
#include "tests/ui/window_test_support.h"
#include "tools/replay/replay.h"
#include "tools/replay/window_replay_target.h"
#include "ui/help_window.h"
#include "ui/job_fields_dialog.h"
#include "ui/job_window.h"

using kelvane::form::ControlId;
using kelvane::form::text1;
using kelvane::form::text2;
using kelvane::ui::JobWindow;
using kelvane::ui::test::failureText;
using kelvane::ui::test::KeyForMessageBox;
using Answer = JobWindow::DiscardAnswer;
using Stale = JobWindow::OutOfDateAnswer;

namespace {

QByteArray contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  QCOMPARE(file.write(bytes), bytes.size());
}

// The window with everything that would ask the user answered by the test.
struct Person {
  JobWindow window;
  QStringList messages;
  QStringList asked;  // the job names the discard question named
  Answer answer = Answer::Cancel;
  QString chosenFile;       // what the file dialog gives; empty: called off
  QStringList suggestions;  // what the file dialogs were opened with
  int prints = 0;
  int staleAsked = 0;  // times the question before out-of-date outputs was asked
  Stale staleAnswer = Stale::Cancel;

  Person() {
    window.setMessagePresenter([this](const QString& m) { messages << m; });
    window.setPrintHandler([this] { ++prints; });
    window.setDiscardAsker([this](const QString& name) {
      asked << name;
      return answer;
    });
    window.setOutOfDateAsker([this] {
      ++staleAsked;
      return staleAnswer;
    });
    window.setFileChooser([this](JobWindow::FileKind, const QString& suggestion) {
      suggestions << suggestion;
      return chosenFile;
    });
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
  }

  QLineEdit* box(const ControlId& id) {
    return qobject_cast<QLineEdit*>(window.form().control(id));
  }
  // Types over a box's text with the keyboard, then leaves it with Tab.
  void type(const ControlId& id, const QString& text) {
    QLineEdit* b = box(id);
    b->setFocus(Qt::TabFocusReason);
    b->selectAll();
    if (text.isEmpty()) QTest::keyClick(b, Qt::Key_Delete);
    QTest::keyClicks(b, text);
    QTest::keyClick(b, Qt::Key_Tab);
  }
  void click(const ControlId& id) {
    QTest::mouseClick(qobject_cast<QAbstractButton*>(window.form().control(id)), Qt::LeftButton);
  }
  // Everything the window shows of its job, for "nothing changed".
  QString state() const {
    const auto snapshot = kelvane::replay::snapshotOf(window.form().model());
    return QString::fromStdString(kelvane::replay::toJson(snapshot)) + "\n" + window.windowTitle() +
           (window.isWindowModified() ? " modified " : " saved ") + window.path() + "\n" +
           QString::fromStdString(window.fields().customer);
  }
  QString shownTitle() const { return window.windowHandle()->title(); }
};

// Whether the window's results belong to its inputs: pressed, and nothing
// changed since.
bool current(const Person& person) { return person.window.form().model().state().resultsCurrent; }

// The box of the wire length under Max.
const ControlId kLength = kelvane::form::idOf(kelvane::form::ResultBox::AlignedLength);

const kelvane::job::JobFields kFields = kelvane::job::test::jobFields(
    "株式会社サンプル電機", "Q2026-118", "山田 太郎", "試作3台分。\n納期は来月末。", 75);

}  // namespace

class JobWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    // Recent files go to a settings folder of the test's own.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir_.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir_.path());
  }
  // Each case starts in an empty folder of its own.
  void init() {
    temporary_ = std::make_unique<QTemporaryDir>();
    QVERIFY(temporary_->isValid());
    dir_ = QDir(temporary_->path());
  }

  void saved_job_opens_with_every_input_and_field_data() {
    QTest::addColumn<int>("sample");
    const auto samples = kelvane::job::test::sampleJobs();
    for (int i = 0; i < static_cast<int>(samples.size()); ++i)
      QTest::newRow(samples[i].name.c_str()) << i;
  }
  void saved_job_opens_with_every_input_and_field() {
    QFETCH(int, sample);
    const kelvane::job::Job job = kelvane::job::test::sampleJobs()[sample].job;
    const QString file = dir_.filePath(QStringLiteral("coil %1.kelvane").arg(sample));
    {
      Person person;
      person.window.takeJob(job);
      person.messages.clear();  // a job without a former has its press refused
      QVERIFY(person.window.saveTo(file));
      QCOMPARE(person.messages, QStringList());
      QCOMPARE(person.shownTitle(), QStringLiteral("coil %1.kelvane - Kelvane").arg(sample));
    }
    // What the file holds is the job as typed, stamped by this program.
    const auto read = kelvane::job::readJob(contents(file).toStdString());
    QVERIFY2(read, read ? "" : read.message().c_str());
    QVERIFY(!read->savedAt.empty());
    QCOMPARE(read->programVersion, std::string(kelvane::job::programVersion()));

    Person person;
    person.type(text1(2), QStringLiteral("77"));  // a window with changes of its own
    person.answer = Answer::Discard;
    QVERIFY(person.window.openFile(file));
    QCOMPARE(person.asked, QStringList{QStringLiteral("無題")});
    // Every input, the former, the material and the fields, and results
    // computed again for them, as the form model gives them.
    kelvane::form::Form1 expected;
    kelvane::form::applyJob(job, expected);
    QVERIFY(person.window.currentJob() == [&] {
      kelvane::job::Job unstamped = job;
      unstamped.programVersion.clear();
      unstamped.savedAt.clear();
      return unstamped;
    }());
    QCOMPARE(person.window.itemCount(), job.items.size());
    QVERIFY(person.window.form().model().state().resultTexts == expected.state().resultTexts);
    for (int i = 0; i < kelvane::form::kResultBoxCount; ++i)
      QCOMPARE(person.box(text2(i))->text(),
               QString::fromStdString(expected.state().resultTexts[i]));
    QCOMPARE(person.window.path(), QFileInfo(file).absoluteFilePath());
    QCOMPARE(person.shownTitle(), QStringLiteral("coil %1.kelvane - Kelvane").arg(sample));
  }

  // The window's open step does what the model's does: same texts, same
  // focus, also when the job's former hides the box that had it.
  void opening_in_the_window_is_opening_in_the_model() {
    const std::string file = dir_.filePath(QStringLiteral("rect.kelvane")).toStdString();
    // The design job is rectangular; the focus is in the round former's box.
    const std::string steps = R"js({"steps":[{"type":"Text1(2)","text":"40"}, {"save":"FILE"},
        {"click":"Option1(0)"}, {"type":"Text1(5)","text":"12"}, {"open":"FILE"}]})js";
    const std::string document =
        QString::fromStdString(steps).replace("FILE", QString::fromStdString(file)).toStdString();
    kelvane::replay::ModelTarget model;
    kelvane::replay::WindowReplayTarget window;
    for (kelvane::replay::ReplayTarget* target :
         std::initializer_list<kelvane::replay::ReplayTarget*>{&model, &window}) {
      const auto applied = kelvane::replay::applySteps(document, *target);
      QVERIFY2(applied.ok(), failureText(applied));
    }
    QCOMPARE(QString::fromStdString(kelvane::replay::toJson(window.snapshot())),
             QString::fromStdString(kelvane::replay::toJson(model.snapshot())));
    QCOMPARE(window.snapshot().focus, std::string("Command1"));
    QCOMPARE(window.snapshot().inputTexts[2], std::string("40"));
    QCOMPARE(window.snapshot().option1, 1);
  }

  // Whichever box has the focus, also one the job's former hides, the window
  // ends where the model does: no box is left on the way by Qt's own focus
  // moves, none of its rules runs.
  void opening_from_any_box_data() {
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("opened");
    const char* formers[] = {"round", "rectangular", "fan"};
    for (int shown = 0; shown < 3; ++shown)
      for (int opened = 0; opened < 3; ++opened)
        QTest::addRow("%s shown, %s opened", formers[shown], formers[opened]) << shown << opened;
  }
  void opening_from_any_box() {
    QFETCH(int, shown);
    QFETCH(int, opened);
    const QString file = dir_.filePath(QStringLiteral("job.kelvane"));
    for (int box = 0; box < kelvane::form::kInputBoxCount; ++box) {
      const std::string steps =
          QStringLiteral(R"js({"steps":[{"click":"Option1(%1)"}, {"save":"%2"},
              {"click":"Option1(%3)"}, {"focus":"Text1(%4)"}, {"open":"%2"}]})js")
              .arg(opened)
              .arg(file)
              .arg(shown)
              .arg(box)
              .toStdString();
      kelvane::replay::ModelTarget model;
      // Not for a box this former hides.
      if (!kelvane::replay::applySteps(steps, model).ok()) continue;
      kelvane::replay::WindowReplayTarget window;
      const auto applied = kelvane::replay::applySteps(steps, window);
      QVERIFY2(applied.ok(), failureText(applied));
      QCOMPARE(QString::fromStdString(kelvane::replay::toJson(window.snapshot())),
               QString::fromStdString(kelvane::replay::toJson(model.snapshot())));
    }
  }

  void bad_file_leaves_the_window_as_it_was_data() {
    QTest::addColumn<QString>("name");
    // "<dir>", "<missing>", "<pipe>", "<unreadable>": no file of these bytes
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("why");
    const QByteArray job =
        QByteArray::fromStdString(kelvane::job::writeJob(kelvane::job::test::sampleJobs()[1].job));
    QTest::newRow("not JSON") << "notes.kelvane" << QByteArray("納期は来月末")
                              << "JSON として読めません";
    QTest::newRow("JSON of something else")
        << "other.kelvane" << QByteArray(R"({"steps":[]})") << "案件ファイルではありません";
    QTest::newRow("damaged: cut in half")
        << "cut.kelvane" << QString::fromUtf8(job).left(job.size() / 3).toUtf8()
        << "JSON として読めません";
    QByteArray newer = job;
    newer.replace("\"formatVersion\": 3", "\"formatVersion\": 4");
    QTest::newRow("newer format") << "newer.kelvane" << newer << "新しい形式（版 4）";
    QByteArray binary = job;
    binary[40] = '\xff';
    QTest::newRow("not UTF-8") << "binary.kelvane" << binary << "UTF-8";
    QTest::newRow("huge") << "huge.kelvane" << QByteArray(2 * 1024 * 1024, ' ') << "大きすぎます";
    QTest::newRow("text over the limit")
        << "long.kelvane" << QByteArray(job).replace("KC-0042", QByteArray(10001, 'x'))
        << "「items[0].partNumber」が長すぎます";
    QTest::newRow("folder") << "folder.kelvane" << QByteArray("<dir>")
                            << "通常のファイルではありません";
    QTest::newRow("missing") << "gone.kelvane" << QByteArray("<missing>") << "ファイルがありません";
    QTest::newRow("pipe") << "pipe.kelvane" << QByteArray("<pipe>")
                          << "通常のファイルではありません";
    QTest::newRow("unreadable") << "locked.kelvane" << QByteArray("<unreadable>")
                                << "権限がありません";
  }
  void bad_file_leaves_the_window_as_it_was() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, why);
    const QString path = dir_.filePath(name);
    if (bytes == "<dir>") {
      QVERIFY(dir_.mkdir(name));
    } else if (bytes == "<pipe>") {
      QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (bytes == "<unreadable>") {
      // Refused as the system refuses a file without read permission, which
      // root would read anyway.
      write(path, "{}");
      kelvane::job::platform::testing::refuseReading(QFile::encodeName(path).toStdString(), EACCES);
    } else if (bytes != "<missing>") {
      write(path, bytes);
    }

    // A window with a job of its own: saved, then changed.
    Person person;
    person.click({"Option1", 2});
    person.window.setFields(kFields);
    QVERIFY(person.window.saveTo(dir_.filePath(QStringLiteral("mine.kelvane"))));
    person.type(text1(2), QStringLiteral("40"));
    person.click({"Command1", -1});
    const QString before = person.state();
    QVERIFY(person.window.isWindowModified());

    QVERIFY(!person.window.openFile(path));
    kelvane::job::platform::testing::refuseReading(QFile::encodeName(path).toStdString(), 0);
    QCOMPARE(person.messages.size(), 1);
    const QString& message = person.messages.first();
    QVERIFY2(message.startsWith(QStringLiteral("「%1」を開けません。").arg(name)),
             qPrintable(message));
    QVERIFY2(message.contains(why), qPrintable(message));
    QCOMPARE(person.state(), before);
    QCOMPARE(person.asked, QStringList());  // nothing to ask about a file that cannot be opened
  }

  void title_marks_unsaved_changes() {
    Person person;
    QCOMPARE(person.shownTitle(), QStringLiteral("無題 - Kelvane"));
    person.type(text1(2), QStringLiteral("40"));
    QCOMPARE(person.shownTitle(), QStringLiteral("無題* - Kelvane"));
    person.type(text1(2), QStringLiteral("10"));  // back as it was: nothing to save
    QCOMPARE(person.shownTitle(), QStringLiteral("無題 - Kelvane"));

    // A press changes no input; the former, the material and the fields do.
    person.click({"Command1", -1});
    QVERIFY(!person.window.isWindowModified());
    person.click({"Option1", 0});
    QVERIFY(person.window.isWindowModified());
    person.chosenFile = dir_.filePath(QStringLiteral("a[*]b.kelvane"));
    QTest::keyClick(&person.window, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(person.shownTitle(), QStringLiteral("a[*]b.kelvane - Kelvane"));
    person.click({"Option3", 1});
    QCOMPARE(person.shownTitle(), QStringLiteral("a[*]b.kelvane* - Kelvane"));
    person.click({"Option3", 0});
    QVERIFY(!person.window.isWindowModified());
    kelvane::job::JobFields customer;
    customer.customer = "顧客";
    person.window.setFields(customer);
    QVERIFY(person.window.isWindowModified());
    // Ctrl+S saves to the job's own file without asking for one.
    person.chosenFile.clear();
    QTest::keyClick(&person.window, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!person.window.isWindowModified());
    QCOMPARE(person.messages, QStringList());
    QCOMPARE(kelvane::job::readJob(contents(person.window.path()).toStdString())->fields.customer,
             std::string("顧客"));
  }

  void discard_question_has_three_answers_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("saveDialogGivesAFile");
    QTest::addColumn<bool>("carriedOut");
    QTest::addColumn<bool>("saved");
    for (const char* command : {"new", "open", "close"}) {
      auto row = [&](const char* answer) -> QTestData& {
        return QTest::addRow("%s, %s", command, answer);
      };
      row("保存") << command << int(Answer::Save) << true << true << true;
      row("保存, file dialog called off")
          << command << int(Answer::Save) << false << false << false;
      row("保存しない") << command << int(Answer::Discard) << true << true << false;
      row("キャンセル") << command << int(Answer::Cancel) << true << false << false;
    }
  }
  void discard_question_has_three_answers() {
    QFETCH(QString, command);
    QFETCH(int, answer);
    QFETCH(bool, saveDialogGivesAFile);
    QFETCH(bool, carriedOut);
    QFETCH(bool, saved);
    const QString other = dir_.filePath(QStringLiteral("other.kelvane"));
    {
      Person maker;
      maker.type(text1(3), QStringLiteral("25"));
      QVERIFY(maker.window.saveTo(other));
    }
    const QString mine = dir_.filePath(QStringLiteral("mine.kelvane"));

    Person person;
    person.type(text1(2), QStringLiteral("40"));
    const QString before = person.state();
    person.answer = static_cast<Answer>(answer);
    person.chosenFile = saveDialogGivesAFile ? mine : QString();
    bool done = false;
    if (command == "new") done = person.window.newJob();
    if (command == "open") done = person.window.openFile(other);
    if (command == "close") done = person.window.close();

    QCOMPARE(person.asked, QStringList{QStringLiteral("無題")});
    QCOMPARE(done, carriedOut);
    QCOMPARE(QFile::exists(mine), saved);
    if (saved) {
      QCOMPARE(only(*kelvane::job::readJob(contents(mine).toStdString()))
                   .input(kelvane::form::box::Turns),
               std::string("40"));
    }
    if (!carriedOut) {
      QCOMPARE(person.state(), before);
      QVERIFY(person.window.isVisible());
      return;
    }
    if (command == "new") QCOMPARE(person.box(text1(2))->text(), QStringLiteral("10"));
    if (command == "open") QCOMPARE(person.box(text1(3))->text(), QStringLiteral("25"));
    if (command != "close") QVERIFY(!person.window.isWindowModified());
  }

  void nothing_is_asked_without_changes() {
    Person person;
    person.click({"Command1", -1});
    person.box(text2(16))->setFocus();  // a box the new form's focus is not in
    QVERIFY(person.window.newJob());
    // A new form, as the window starts: the focus in its first box.
    QCOMPARE(person.window.form().model().state().focus, text1(0));
    QCOMPARE(QApplication::focusWidget(), person.box(text1(0)));
    QCOMPARE(person.box(text2(7))->text(), QString());
    QVERIFY(person.window.close());
    QCOMPARE(person.asked, QStringList());
  }

  void copy_puts_the_table_on_the_clipboard() {
    Person person;
    person.window.setFields(kFields);
    person.window.setItemNames(0, "KC-0042", "電源トランス");
    person.type(text1(2), QStringLiteral("40"));
    person.click({"Command1", -1});
    QTest::keyClick(&person.window, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(person.staleAsked, 0);
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    const QString text = copied->text();
    // The time of the copy, to the minute.
    const QString created = text.section(QStringLiteral("作成日時\t"), 1).section('\t', 0, 0);
    QVERIFY(QDateTime::fromString(created, QStringLiteral("yyyy-MM-dd HH:mm")).isValid());
    QVERIFY(qAbs(QDateTime::fromString(created, QStringLiteral("yyyy-MM-dd HH:mm"))
                     .secsTo(QDateTime::currentDateTime())) < 120);
    const kelvane::job::ResultsTable table = kelvane::job::resultsTable(
        kelvane::form::shownCoil(person.window.form().model()), person.window.fields(),
        person.window.itemAt(0), created.toStdString());
    QCOMPARE(text, QString::fromStdString(kelvane::job::toTabSeparated(table)));
    QVERIFY(
        text.startsWith(QStringLiteral("顧客名\t株式会社サンプル電機\t\t\n見積番号\tQ2026-118\t\t\n"
                                       "品番\tKC-0042\t\t\n品名\t電源トランス\t\t\n")));
    QVERIFY(text.contains(QStringLiteral("巻き数(n)\t40\t\t\n")));
    // Beside it the same table in HTML, numbers marked as numbers.
    QVERIFY(copied->hasHtml());
    QCOMPARE(copied->html(), QString::fromStdString(kelvane::job::toHtml(table)));
    QVERIFY(
        copied->html().contains(QStringLiteral("<td x:num=\"40\" sdval=\"40\" sdnum=\"1041;0;0\" "
                                               "style=\"mso-number-format:'0'\">40</td>")));
    QVERIFY(copied->html().contains(QStringLiteral(">株式会社サンプル電機</td>")));
  }

  // Results that do not belong to the inputs never leave the window: the
  // copy and the exports ask first; 計算して出力 presses 計算 and outputs
  // what that press gives, a refused press outputs nothing and says why,
  // キャンセル leaves everything as it was.
  void out_of_date_results_are_pressed_before_they_leave_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("before");  // "pressed", "changed", "refused", "never"
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("asked");
    QTest::addColumn<bool>("output");
    const int press = int(Stale::PressAndOutput), cancel = int(Stale::Cancel);
    for (const char* command : {"copy", "csv", "pdf", "print"}) {
      auto row = [&](const char* what) -> QTestData& {
        return QTest::addRow("%s, %s", command, what);
      };
      // A print that goes ahead opens the print dialog; the rows that stop
      // before it stand for the print.
      const bool printed = QByteArray(command) == "print";
      if (!printed) {
        row("current results: nothing asked") << command << "pressed" << cancel << 0 << true;
        row("inputs changed, 計算して出力") << command << "changed" << press << 1 << true;
        row("never pressed, 計算して出力") << command << "never" << press << 1 << true;
      }
      row("inputs changed, キャンセル") << command << "changed" << cancel << 1 << false;
      row("never pressed, キャンセル") << command << "never" << cancel << 1 << false;
      row("計算して出力, the press refused") << command << "refused" << press << 1 << false;
    }
  }
  void out_of_date_results_are_pressed_before_they_leave() {
    QFETCH(QString, command);
    QFETCH(QString, before);
    QFETCH(int, answer);
    QFETCH(int, asked);
    QFETCH(bool, output);
    Person person;
    person.window.setFields(kFields);
    if (before != "never") person.click({"Command1", -1});
    const QString oldLength = person.box(kLength)->text();
    if (before == "changed") person.type(text1(2), QStringLiteral("250"));
    if (before == "refused") person.type(text1(0), QStringLiteral("0"));
    QCOMPARE(current(person), before == "pressed");
    const QString state = person.state();
    person.staleAnswer = static_cast<Stale>(answer);
    const QString file = dir_.filePath(command + QStringLiteral(".out"));
    person.chosenFile = file;
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));

    bool done = false;
    if (command == "copy") done = person.window.copyResults();
    if (command == "csv") done = person.window.exportCsv();
    if (command == "pdf") done = person.window.exportPdf();
    if (command == "print") done = person.window.printQuotation();

    QCOMPARE(person.staleAsked, asked);
    QCOMPARE(done, output);
    const bool copied = QGuiApplication::clipboard()->text() != QStringLiteral("before");
    QCOMPARE(copied || QFile::exists(file), output);
    // No file dialog before the question is answered and the press done.
    QCOMPARE(person.suggestions.size(), int(output && command != "copy"));
    if (!output) {
      QCOMPARE(person.messages, before == "refused" && answer == int(Stale::PressAndOutput)
                                    ? QStringList{QStringLiteral("素線径(d)を入力してください")}
                                    : QStringList());
      if (answer == int(Stale::Cancel)) QCOMPARE(person.state(), state);
      QVERIFY(!current(person));
      return;
    }
    QVERIFY(current(person));
    QCOMPARE(person.messages, QStringList());
    // The output holds the results of the inputs as they stand.
    const QString length = person.box(kLength)->text();
    QVERIFY(!length.isEmpty());
    if (before == "changed") QVERIFY(length != oldLength);
    if (command == "pdf") {
      QVERIFY(contents(file).startsWith("%PDF"));
      return;
    }
    const QString written =
        copied ? QGuiApplication::clipboard()->text() : QString::fromUtf8(contents(file));
    const QString separator = copied ? QStringLiteral("\t") : QStringLiteral(",");
    QVERIFY2(written.contains(QStringLiteral("\n全長") + separator + length + separator),
             qPrintable(written));
    if (before == "changed")
      QVERIFY(written.contains(QStringLiteral("巻き数(n)") + separator + QStringLiteral("250")));
  }

  // The question as the window asks it: one Enter presses and outputs, Esc
  // leaves it.
  void out_of_date_question_takes_enter_and_escape_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("copied");
    QTest::newRow("Enter") << int(Qt::Key_Return) << true;
    QTest::newRow("Esc") << int(Qt::Key_Escape) << false;
  }
  void out_of_date_question_takes_enter_and_escape() {
    QFETCH(int, key);
    QFETCH(bool, copied);
    JobWindow window;
    window.setMessagePresenter([](const QString& m) { QFAIL(qPrintable(m)); });
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    KeyForMessageBox answer(static_cast<Qt::Key>(key));
    QCOMPARE(window.copyResults(), copied);
    QCOMPARE(answer.question, JobWindow::outOfDateQuestion());
    QCOMPARE(answer.question,
             QStringLiteral("結果が入力と合っていません。計算してから出力しますか？"));
    QStringList buttons = answer.buttons;
    buttons.sort();
    QCOMPARE(buttons, (QStringList{QStringLiteral("キャンセル"), QStringLiteral("計算して出力")}));
    QCOMPARE(window.form().model().state().resultsCurrent, copied);
    QCOMPARE(QGuiApplication::clipboard()->text() != QStringLiteral("before"), copied);
  }

  // A job never saved is offered under its 見積番号 and 品番; a saved one
  // beside its file, under its name.
  void dialogs_suggest_a_name_from_the_job() {
    Person person;
    person.window.setFields(kFields);
    person.window.setItemNames(0, "KC-0042", "");
    person.click({"Command1", -1});
    person.window.saveAs();
    person.window.exportCsv();
    person.window.exportPdf();
    const QString home = QDir::homePath();
    QCOMPARE(person.suggestions,
             (QStringList{home + QStringLiteral("/Q2026-118_KC-0042.kelvane"),
                          home + QStringLiteral("/Q2026-118_KC-0042.csv"),
                          home + QStringLiteral("/Q2026-118_KC-0042_見積計算書.pdf")}));
    person.suggestions.clear();
    person.window.setFields({});
    person.window.setItemNames(0, "", "");
    person.window.saveAs();
    QCOMPARE(person.suggestions, QStringList{home + QStringLiteral("/無題.kelvane")});
    person.suggestions.clear();
    person.window.setFields(kFields);
    QVERIFY(person.window.saveTo(dir_.filePath(QStringLiteral("coil.kelvane"))));
    person.window.exportCsv();
    person.window.exportPdf();
    QCOMPARE(person.suggestions,
             (QStringList{dir_.filePath(QStringLiteral("coil.csv")),
                          dir_.filePath(QStringLiteral("coil_見積計算書.pdf"))}));
  }

  void csv_export_writes_the_exact_bytes() {
    Person person;
    person.click({"Option1", 2});
    person.window.setFields(kFields);
    person.click({"Command1", -1});
    const QString path = dir_.filePath(QStringLiteral("results.csv"));
    write(path, "old contents, longer than nothing");
    person.chosenFile = path;
    QVERIFY(person.window.exportCsv());
    const QString created =
        QString::fromUtf8(contents(path)).section(QStringLiteral("作成日時,"), 1).left(16);
    const std::string expected = kelvane::job::toCsv(
        kelvane::job::resultsTable(kelvane::form::shownCoil(person.window.form().model()), kFields,
                                   person.window.itemAt(0), created.toStdString()));
    QCOMPARE(contents(path), QByteArray::fromStdString(expected));
    QVERIFY(contents(path).startsWith("\xEF\xBB\xBF顧客名,株式会社サンプル電機,,\r\n"));
    QVERIFY(contents(path).contains("\r\n\r\n項目,整列巻き計算,クロス込み予測,単位\r\n"));
    QVERIFY(contents(path).contains("\r\n使用温度,75,,°C\r\n"));
    QVERIFY(contents(path).contains("\r\nDCR (75 °C),"));

    // A folder that is not there: said, nothing written, and the job still
    // unsaved is no business of the export.
    QVERIFY(!person.window.exportCsvTo(dir_.filePath(QStringLiteral("none/results.csv"))));
    QCOMPARE(person.messages,
             QStringList{QStringLiteral(
                 "「results.csv」を保存できません（保存先のフォルダーがありません）。")});
    QVERIFY(!QFile::exists(dir_.filePath(QStringLiteral("none"))));
  }

  // A job whose texts the reader would refuse is not saved, so no save
  // leaves a file that cannot be opened again; the old file stays.
  void job_that_could_not_be_opened_again_is_not_saved() {
    Person person;
    const QString path = dir_.filePath(QStringLiteral("coil.kelvane"));
    QVERIFY(person.window.saveTo(path));
    const QByteArray before = contents(path);
    person.window.form().setBoxText(text1(13), QString(10001, QLatin1Char('7')));
    QVERIFY(!person.window.save());
    QCOMPARE(person.messages,
             QStringList{QStringLiteral(
                 "「coil.kelvane」を保存できません。「items[0].inputs.tension」が長すぎます"
                 "（10000 文字まで）。")});
    QCOMPARE(contents(path), before);
    QVERIFY(person.window.isWindowModified());
  }

  // A save or an export that cannot be made whole changes no file: a
  // read-only job, the job itself as an export, a disk that is full.
  void saves_never_replace_what_they_must_not() {
    Person person;
    const QString path = dir_.filePath(QStringLiteral("kept.kelvane"));
    QVERIFY(person.window.saveTo(path));
    const QByteArray before = contents(path);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    person.window.form().setBoxText(text1(2), QStringLiteral("99"));
    QVERIFY(!person.window.save());
    QVERIFY(!person.window.exportCsvTo(path));
    QVERIFY(!person.window.exportPdfTo(path));
    QVERIFY(!person.window.saveTo(QStringLiteral("/dev/full")));
    QCOMPARE(
        person.messages,
        (QStringList{
            QStringLiteral("「kept.kelvane」を保存できません（読み取り専用のファイルです）。"),
            QStringLiteral("「kept.kelvane」は開いている案件ファイルです。書き出しには別の名前を"
                           "選んでください。"),
            QStringLiteral("「kept.kelvane」は開いている案件ファイルです。書き出しには別の名前を"
                           "選んでください。"),
            QStringLiteral("「full」を保存できません（ディスクがいっぱいです）。")}));
    QCOMPARE(contents(path), before);
    QVERIFY(person.window.isWindowModified());
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  }

  void recent_files_hold_the_newest_eight() {
    QSettings(QStringLiteral("kelvane"), QStringLiteral("kelvane")).clear();
    Person person;
    QStringList saved;
    for (int i = 0; i < 10; ++i) {
      saved.prepend(dir_.filePath(QStringLiteral("job%1.kelvane").arg(i)));
      QVERIFY(person.window.saveTo(saved.first()));
    }
    QCOMPARE(person.window.recentFiles(), saved.mid(0, 8));
    QVERIFY(person.window.openFile(saved[5]));
    QCOMPARE(person.window.recentFiles().first(), saved[5]);
    QCOMPARE(person.window.recentFiles().size(), 8);
    // Another window finds them, and its menu opens them.
    Person later;
    QMenu* recent = nullptr;
    for (QMenu* menu : later.window.menuBar()->findChildren<QMenu*>())
      if (menu->title().startsWith(QStringLiteral("最近使ったファイル"))) recent = menu;
    QVERIFY(recent);
    QCOMPARE(recent->actions().size(), 8);
    QCOMPARE(recent->actions()[1]->text(), QStringLiteral("&2 job9.kelvane"));
    recent->actions()[1]->trigger();
    QCOMPARE(later.window.path(), saved[0]);
  }

  // The menu bar sits above the windings' bar and the form and takes none
  // of the form's keys; the item list stands beside the form.
  void form_keys_work_below_the_menu() {
    Person person;
    const int bar = person.window.windingBar().height();
    QCOMPARE(person.window.form().height() + bar, person.window.centralWidget()->height());
    QCOMPARE(person.window.form().mapTo(&person.window, QPoint(0, 0)).y(),
             person.window.menuBar()->height() + bar);
    QVERIFY(bar < 40);  // slim: the tab and 巻線を追加
    QVERIFY(person.window.form().geometry().right() <
            person.window.itemList().mapTo(&person.window, QPoint(0, 0)).x());

    // Leaving an emptied turns box by Tab runs its rule (it gets 1).
    person.type(text1(2), QString());
    QCOMPARE(person.box(text1(2))->text(), QStringLiteral("1"));
    QCOMPARE(person.window.form().model().state().focus, text1(3));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F12);
    QCOMPARE(person.prints, 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    auto* help = person.window.findChild<kelvane::ui::HelpWindow*>();
    QVERIFY(help && help->isVisible());
    QCOMPARE(person.prints, 1);
  }

  void help_and_version_say_what_they_should() {
    kelvane::ui::HelpWindow help(nullptr);
    const QString guide = help.browser().toPlainText();
    for (const char* topic : {"コイルを入力する", "結果の見方", "目標値から巻き数を求める",
                              "受け付けない入力", "予測 Mid", "26.8 mm"})
      QVERIFY2(guide.contains(QString::fromUtf8(topic)), topic);
    const QString about = kelvane::ui::aboutText();
    QVERIFY(about.contains(QString::fromUtf8(kelvane::job::programVersion().data())));
    QVERIFY(about.contains(QStringLiteral("MIT")));
    QVERIFY(about.contains(QStringLiteral("Qt %1").arg(QString::fromLatin1(qVersion()))));
  }

  // The texts, the period of validity and the working temperature are
  // taken on OK; a number that cannot be read or is out of reach keeps the
  // dialog open with the reason beside it, its text selected, and nothing
  // is taken. The 版 and 発行日 of the quotation stay as they were.
  void fields_dialog_takes_the_fields_on_ok_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("whole") << "workingCelsius"
                           << "75" << 75.0 << "";
    QTest::newRow("full-width") << "workingCelsius"
                                << "－１０．５" << -10.5 << "";
    QTest::newRow("blanks around") << "workingCelsius"
                                   << " 155 " << 155.0 << "";
    QTest::newRow("empty") << "workingCelsius"
                           << "" << 0.0 << "使用温度を数として読めません（「」）。";
    QTest::newRow("junk after") << "workingCelsius"
                                << "75度" << 0.0 << "使用温度を数として読めません（「75度」）。";
    QTest::newRow("too hot") << "workingCelsius"
                             << "600" << 0.0
                             << "使用温度は -200 °C から 500 °C までで入力してください。";
    QTest::newRow("too cold") << "workingCelsius"
                              << "-250" << 0.0
                              << "使用温度は -200 °C から 500 °C までで入力してください。";
    QTest::newRow("valid for 45 days") << "validDays"
                                       << "45" << 45.0 << "";
    QTest::newRow("days in full width") << "validDays"
                                        << "１４" << 14.0 << "";
    QTest::newRow("days with their unit") << "validDays"
                                          << "60日" << 60.0 << "";
    QTest::newRow("the day of issue only") << "validDays"
                                           << "0" << 0.0 << "";
    QTest::newRow("over ten years")
        << "validDays"
        << "3651" << 0.0 << "「有効期限」は 0 から 3,650 までの日数（整数）で入力してください。";
    QTest::newRow("half a day")
        << "validDays"
        << "1.5" << 0.0 << "「有効期限」は 0 から 3,650 までの日数（整数）で入力してください。";
    QTest::newRow("days not a number")
        << "validDays"
        << "来月末" << 0.0
        << "「有効期限」を数として読めません（「来月末」）。数と単位「日」だけを入力してください。";
  }
  void fields_dialog_takes_the_fields_on_ok() {
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(double, value);
    QFETCH(QString, refusal);
    kelvane::job::JobFields before = kFields;
    before.revision = 2;
    before.issuedOn = "2026-12-01";
    kelvane::ui::JobFieldsDialog dialog(before, nullptr);
    dialog.show();
    auto line = [&](const char* name) { return dialog.findChild<QLineEdit*>(QLatin1String(name)); };
    for (const char* name : {"customer", "customerPerson", "quotationNumber", "personInCharge",
                             "subject", "deliveryTerms", "paymentTerms"})
      QCOMPARE(line(name)->maxLength(), int(kelvane::job::kMaxTextChars));
    QCOMPARE(line("workingCelsius")->text(), QStringLiteral("75"));
    QCOMPARE(line("validDays")->text(), QStringLiteral("30"));
    line("customer")->setText(QStringLiteral("別の顧客"));
    line("customerPerson")->setText(QStringLiteral("山田 太郎"));
    line("subject")->setText(QStringLiteral("巻線コイル 試作"));
    line("deliveryTerms")->setText(QStringLiteral("受注後 3 週間"));
    line("paymentTerms")->setText(QStringLiteral("月末締め翌月末払い"));
    dialog.findChild<QPlainTextEdit*>(QStringLiteral("remarks"))
        ->setPlainText(QStringLiteral("端末処理：半田上げ\n梱包：トレー入り"));
    line(box.toLatin1().constData())->setText(typed);
    dialog.accept();
    if (refusal.isEmpty()) {
      QCOMPARE(dialog.result(), int(QDialog::Accepted));
      kelvane::job::JobFields expected = before;
      expected.customer = "別の顧客";
      expected.customerPerson = "山田 太郎";
      expected.subject = "巻線コイル 試作";
      expected.deliveryTerms = "受注後 3 週間";
      expected.paymentTerms = "月末締め翌月末払い";
      expected.remarks = "端末処理：半田上げ\n梱包：トレー入り";
      if (box == QStringLiteral("workingCelsius")) expected.workingCelsius = value;
      if (box == QStringLiteral("validDays")) expected.validDays = int(value);
      QVERIFY(dialog.fields() == expected);
      return;
    }
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.fields() == before);
    QVERIFY(std::ranges::any_of(dialog.findChildren<QLabel*>(),
                                [&](QLabel* l) { return l->isVisible() && l->text() == refusal; }));
    QCOMPARE(line(box.toLatin1().constData())->selectedText(), typed);
  }

 private:
  QTemporaryDir settingsDir_;
  std::unique_ptr<QTemporaryDir> temporary_;
  QDir dir_;
};

KELVANE_UI_TEST_MAIN(JobWindowTest)
#include "job_window_test.moc"
