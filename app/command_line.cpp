#include "app/command_line.h"

#include <QCommandLineParser>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

#include "form/form1.h"
#include "form/form_job.h"
#include "form/stack_forms.h"
#include "job/addressee.h"
#include "job/file_io.h"
#include "job/item_stack.h"
#include "job/output_file.h"
#include "job/printable_text.h"
#include "job/quotation_rows.h"
#include "job/request_quote.h"
#include "job/results_table.h"
#include "ledger/register.h"
#include "ui/customer_quotation.h"
#include "ui/price_list_file.h"
#include "ui/quotation_issue.h"
#include "ui/quotation_sheet.h"
#include "ui/sheet_cost.h"

namespace kelvane::app {
namespace {

// One line on standard error, whatever line breaks a file's name brings.
// Names from a job or a price list cannot work the terminal either.
void tell(const QString& line) {
  std::fprintf(stderr, "kelvane: %s\n",
               job::withControlsEscaped(line.simplified().toStdString()).c_str());
}

QString nameOf(const std::filesystem::path& file) {
  return QString::fromLocal8Bit(job::displayName(file));
}

int failed(const QString& line) {
  tell(line);
  return kFailed;
}

// The bytes each argument was given as, by the text Qt's parser sees, so a
// file's name reaches the system as typed. The value of "--option=VALUE" too.
class ArgumentBytes {
 public:
  ArgumentBytes(int argc, char** argv) {
    for (int i = 0; i < argc; ++i) {
      const std::string bytes = argv[i];
      note(bytes);
      if (const auto equals = bytes.find('='); bytes.starts_with("--") && equals != bytes.npos)
        note(bytes.substr(equals + 1));
    }
  }
  std::filesystem::path operator()(const QString& text) const {
    const auto it = bytes_.find(text);
    return it != bytes_.end() ? it->second : QFile::encodeName(text).toStdString();
  }

 private:
  void note(const std::string& bytes) {
    bytes_.try_emplace(QString::fromLocal8Bit(bytes.data(), qsizetype(bytes.size())), bytes);
  }
  std::map<QString, std::string> bytes_;
};

// Help and version go to standard output, checked to the last byte.
int printed(const QString& text) {
  std::fputs(qPrintable(text), stdout);
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    tell(QStringLiteral("標準出力に書き込めません。"));
    return kFailed;
  }
  return kSucceeded;
}

// Why the command line could not be read. Qt's parser says it in English
// before any translation can be loaded; its three cases are said here.
QString parseFailure(const QCommandLineParser& options) {
  const QStringList unknown = options.unknownOptionNames();
  if (!unknown.isEmpty()) {
    QStringList typed;
    for (const QString& name : unknown)
      typed << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    return QStringLiteral(
               "%1 というオプションはありません（kelvane --help で使い方を表示します）。")
        .arg(typed.join(QStringLiteral("、")));
  }
  const QString english = options.errorText();
  const QRegularExpressionMatch option =
      QRegularExpression(QStringLiteral("'([^']*)'")).match(english);
  if (option.hasMatch() && english.startsWith(QStringLiteral("Missing value")))
    return QStringLiteral("%1 には書き出すファイルの名前が要ります。").arg(option.captured(1));
  if (option.hasMatch() && english.startsWith(QStringLiteral("Unexpected value")))
    return QStringLiteral("%1 は値を取りません。").arg(option.captured(1));
  return QStringLiteral("コマンドラインを読めません（kelvane --help で使い方を表示します）。");
}

// The parser's help with its headings in Japanese, under the program's name
// (without an application object Qt does not know it yet).
QString helpText(const QCommandLineParser& options) {
  return options.helpText()
      .replace(QStringLiteral("<executable_name>"), QStringLiteral("kelvane"))
      .replace(QStringLiteral("Usage: "), QStringLiteral("使い方: "))
      .replace(QStringLiteral("[options]"), QStringLiteral("[オプション]"))
      .replace(QStringLiteral("\nOptions:\n"), QStringLiteral("\nオプション:\n"))
      .replace(QStringLiteral("\nArguments:\n"), QStringLiteral("\n引数:\n"));
}

// The customer's quotation of the job, every item priced from the coil its
// form shows, as the job stands: each item's terms or the user's price
// list, issued today.
Expected<ui::CustomerQuotation> customerQuotationOf(
    const job::Job& job, const std::vector<form::Form1>& forms,
    const std::vector<std::optional<StackResult>>& stacks) {
  std::vector<job::ShownCoil> coils;
  coils.reserve(forms.size());
  for (const form::Form1& form : forms) coils.push_back(form::shownCoil(form));
  // Each item's terms, the wire price from the list when they hold none for
  // the item's material (job::pricingTerms).
  Expected<job::RequestQuote> request = job::priceRequest(
      job.items, coils,
      [](const job::Item& item) -> Expected<job::PricingTerms> {
        Expected<job::PricingTerms> terms =
            job::pricingTerms(item.terms, item.coil.material, job::bareDiameterMm(item.coil),
                              [] { return ui::readUserPriceList(); });
        if (terms) return terms;
        return Failure{terms.message() + (item.terms
                                              ? "見積条件の線材単価がこの案件の材料のものでない"
                                                "案件の見積書は、読める単価表がないと作れません。"
                                              : "見積条件のない案件の見積書は、読める単価表が"
                                                "ないと作れません。")};
      },
      stacks, [] { return ui::readUserPriceList(); });
  if (!request) return request.failure();
  return ui::CustomerQuotation{ui::storedCompanyInfo(), job.fields, std::move(request.value()),
                               QDate::currentDate(), QStringLiteral(KELVANE_VERSION)};
}

// Issues the quotation into the register the request names: a job
// unchanged since its number's latest 版 prints that 版 again (再発行) and
// records nothing; any other is recorded as the next 版, its PDF and the job
// file with the issue in its history staged inside the transaction.
Expected<void> issueInto(const Request& request, const job::Job& job,
                         ui::CustomerQuotation quotation, ui::StagedFiles& files) {
  Expected<std::unique_ptr<ledger::Register>> reg =
      ui::openRegister(ui::registerLocation(request.registerLocation));
  if (!reg) return reg.failure();
  Expected<ui::PendingIssue> pending = ui::prepareIssue(**reg, job, std::move(quotation));
  if (!pending) return pending.failure();
  const Expected<ui::Issued> done = ui::issueQuotation(
      **reg, *pending,
      [&](const ui::CustomerQuotation& numbered, const QByteArray& pdf,
          const job::Job& issuedJob) -> Expected<void> {
        if (Expected<void> staged = files.stage(
                request.quotationFile, std::string_view(pdf.constData(), std::size_t(pdf.size())),
                job::OutputFile::Reader::Await);
            !staged.ok())
          return staged;
        if (numbered.copy == ui::CustomerQuotation::Copy::Reissue) return {};
        return files.stageJob(request.jobFile, issuedJob);
      });
  if (!done) return done.failure();
  return {};
}

}  // namespace

std::variant<Request, int> readCommandLine(int argc, char** argv) {
  const ArgumentBytes bytesOf(argc, argv);
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  QCommandLineParser options;
  options.setApplicationDescription(QStringLiteral(
      "巻線コイルを線材、巻数、リード長、巻幅、導体の材料と巻枠（丸、角、扇形）から計算します。"
      "層ごとの巻き方、巻高さと外形寸法、線長、導体・絶縁・総重量と直流抵抗を求め、巻線断面を"
      "描きます。線材の 1 km あたりの抵抗と重量のデータシートを印刷し、目標の高さ、重量または"
      "抵抗から巻数を逆算します。"));
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("この使い方を表示します。"));
  const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                   QStringLiteral("版を表示します。"));
  const QCommandLineOption report(
      QStringLiteral("report"),
      QStringLiteral("ウィンドウを開かずに、案件 JOB の見積計算書を PDF ファイルに書き出します。"),
      QStringLiteral("OUT.pdf"));
  const QCommandLineOption csv(
      QStringLiteral("export-csv"),
      QStringLiteral(
          "ウィンドウを開かずに、案件 JOB の入力と計算結果を CSV ファイルに書き出します。"),
      QStringLiteral("OUT.csv"));
  const QCommandLineOption quotation(
      QStringLiteral("quotation"),
      QStringLiteral("ウィンドウを開かずに、案件 JOB の見積書を PDF ファイルに書き出します。"),
      QStringLiteral("OUT.pdf"));
  const QCommandLineOption draft(
      QStringLiteral("draft"),
      QStringLiteral("--quotation の見積書を「見本」として作ります。見積台帳には記録せず、"
                     "版も進めません。"));
  const QCommandLineOption ledger(
      QStringLiteral("register"),
      QStringLiteral("見積書の発行を記録する見積台帳（ファイル、または postgresql:// の URL）。"
                     "省略すると設定の台帳、環境変数 KELVANE_REGISTER、この PC の台帳の順です。"),
      QStringLiteral("LOCATION"));
  for (const QCommandLineOption* option :
       {&help, &version, &report, &csv, &quotation, &draft, &ledger})
    options.addOption(*option);
  options.addPositionalArgument(QStringLiteral("JOB"), QStringLiteral("開く見積案件（.kelvane）。"),
                                QStringLiteral("[JOB]"));
  if (!options.parse(arguments)) {
    tell(parseFailure(options));
    return kBadUsage;
  }
  if (options.isSet(help)) return printed(helpText(options));
  if (options.isSet(version)) return printed(QStringLiteral("kelvane " KELVANE_VERSION "\n"));

  Request request;
  const QStringList jobs = options.positionalArguments();
  if (jobs.size() > 1) {
    tell(QStringLiteral("開く案件ファイルは一つだけ指定してください。"));
    return kBadUsage;
  }
  if (!jobs.isEmpty()) {
    request.job = jobs.constFirst();
    request.jobFile = bytesOf(request.job);
  }
  for (const auto& [option, file] :
       {std::pair{&report, &request.reportFile}, std::pair{&csv, &request.csvFile},
        std::pair{&quotation, &request.quotationFile}}) {
    const QString value = options.value(*option);
    if (options.isSet(*option) && value.isEmpty()) {
      tell(QStringLiteral("--%1 には書き出すファイルの名前が要ります。")
               .arg(option->names().first()));
      return kBadUsage;
    }
    if (!value.isEmpty()) *file = bytesOf(value);
  }
  request.draft = options.isSet(draft);
  request.registerLocation = options.value(ledger);
  if (request.draft && request.quotationFile.empty()) {
    tell(QStringLiteral("--draft は --quotation とともに指定してください。"));
    return kBadUsage;
  }
  if (options.isSet(ledger) && request.registerLocation.isEmpty()) {
    tell(QStringLiteral("--register には見積台帳の場所が要ります。"));
    return kBadUsage;
  }
  if (request.headless() && request.job.isEmpty()) {
    tell(QStringLiteral("--report、--export-csv と --quotation には案件ファイルが要ります。"));
    return kBadUsage;
  }
  // Nothing written may replace the job it is made from, or another output.
  const std::pair<const char*, const std::filesystem::path*> outputs[] = {
      {"--report", &request.reportFile},
      {"--export-csv", &request.csvFile},
      {"--quotation", &request.quotationFile}};
  for (const auto& [name, output] : outputs) {
    if (!output->empty() && job::sameFile(*output, request.jobFile)) {
      tell(QStringLiteral(
               "「%1」は読み込む案件ファイルそのものです。書き出しには別の名前を指定してください。")
               .arg(nameOf(*output)));
      return kBadUsage;
    }
  }
  for (std::size_t a = 0; a < std::size(outputs); ++a) {
    for (std::size_t b = a + 1; b < std::size(outputs); ++b) {
      const auto& [first, one] = outputs[a];
      const auto& [second, other] = outputs[b];
      if (!one->empty() && job::sameFile(*one, *other)) {
        tell(QStringLiteral("%1 と %2 には別々のファイルを指定してください。")
                 .arg(QLatin1String(first), QLatin1String(second)));
        return kBadUsage;
      }
    }
  }
  return request;
}

int writeOutputs(const Request& request) {
  const Expected<job::Job> job = job::readJobFile(request.jobFile);
  if (!job) return failed(QString::fromStdString(job.message()));
  // Every item opened on a form of its own, as the window opens it; an item
  // of several windings each winding on its own, the stack pressed.
  std::vector<form::Form1> forms(job->items.size());
  std::vector<std::vector<form::Form1>> windings(job->items.size());
  std::vector<std::optional<StackResult>> stacks(job->items.size());
  for (std::size_t i = 0; i < forms.size(); ++i) {
    const job::Item& item = job->items[i];
    std::string message;
    if (job::isStack(item)) {
      windings[i] = form::windingForms(item);
      const form::StackPress press = form::pressStack(
          item, windings[i], [](double, const form::Work& work) { work(nullptr); });
      forms[i] = windings[i].front();
      stacks[i] = press.result;
      if (press.result) continue;
      message = press.message;
    } else {
      form::applyCoil(item.coil, forms[i]);
      if (forms[i].state().resultsCurrent) continue;
      // A sheet without results quotes nothing; the window would show why.
      const auto& messages = forms[i].state().messages;
      if (!messages.empty()) message = messages.back();
    }
    const QString which =
        forms.size() > 1 ? QString::fromStdString(job::itemLabel(i, item)) : QString();
    return failed(QStringLiteral("「%1」%2は計算できません。%3")
                      .arg(nameOf(request.jobFile), which, QString::fromStdString(message)));
  }

  // Every output whole in memory first, then all written, then all put in place.
  struct Output {
    std::filesystem::path file;
    std::string bytes;
    job::OutputFile out;
  };
  std::vector<std::unique_ptr<Output>> outputs;
  const auto add = [&](const std::filesystem::path& file, std::string bytes) {
    outputs.push_back(std::make_unique<Output>());
    outputs.back()->file = file;
    outputs.back()->bytes = std::move(bytes);
  };
  if (!request.reportFile.empty()) {
    std::vector<ui::QuotationContent> sections;
    for (std::size_t i = 0; i < forms.size(); ++i) {
      const job::Item& item = job->items[i];
      if (job::isStack(item)) {
        std::vector<ui::QuotationContent> stacked =
            ui::quotationOfStack(windings[i], job->fields, item, stacks[i]);
        if (item.terms) {
          stacked.front().cost = ui::sheetCostOfStack(item, stacks[i], *item.terms,
                                                      [] { return ui::readUserPriceList(); });
        }
        for (ui::QuotationContent& section : stacked) sections.push_back(std::move(section));
        continue;
      }
      sections.push_back(ui::quotationOf(forms[i], job->fields, item));
      if (item.terms) sections.back().cost = ui::sheetCostOf(forms[i], *item.terms);
    }
    const std::optional<QByteArray> pdf = ui::quotationPdf(sections);
    if (!pdf) {
      return failed(QStringLiteral("「%1」を保存できません（PDFを作れません）。")
                        .arg(nameOf(request.reportFile)));
    }
    add(request.reportFile, pdf->toStdString());
  }
  std::optional<ui::CustomerQuotation> quotation;
  if (!request.quotationFile.empty()) {
    Expected<ui::CustomerQuotation> priced = customerQuotationOf(*job, forms, stacks);
    if (!priced) return failed(QString::fromStdString(priced.message()));
    quotation = std::move(priced.value());
  }
  // A sample is one more output; an issue is written inside the register's
  // transaction, below.
  if (quotation && request.draft) {
    quotation->copy = ui::CustomerQuotation::Copy::Draft;
    const std::optional<QByteArray> pdf = ui::customerQuotationPdf(*quotation);
    if (!pdf) {
      return failed(QStringLiteral("「%1」を保存できません（PDFを作れません）。")
                        .arg(nameOf(request.quotationFile)));
    }
    add(request.quotationFile, pdf->toStdString());
  }
  if (!request.csvFile.empty()) {
    const std::string createdAt = job::localMinute(std::chrono::system_clock::now());
    std::vector<job::ResultsTable> tables;
    for (std::size_t i = 0; i < forms.size(); ++i) {
      // A stack gives a table a winding, the whole piece's price under the
      // first.
      const job::Item& item = job->items[i];
      if (job::isStack(item)) {
        for (const form::Form1& winding : windings[i])
          tables.push_back(
              job::resultsTable(form::shownCoil(winding), job->fields, item, createdAt));
        if (item.terms) {
          tables[tables.size() - windings[i].size()].quotation = job::stackQuotationRows(
              *item.terms, job::priceOfStack(item, stacks[i], *item.terms,
                                             [] { return ui::readUserPriceList(); }));
        }
        continue;
      }
      const job::ShownCoil coil = form::shownCoil(forms[i]);
      tables.push_back(job::resultsTable(coil, job->fields, job->items[i], createdAt));
      job::addQuotation(tables.back(), coil, job->items[i].terms);
    }
    add(request.csvFile, job::toCsv(tables));
  }
  for (auto& output : outputs) {
    if (auto opened = output->out.open(output->file, job::OutputFile::Reader::Await); !opened.ok())
      return failed(QString::fromStdString(opened.message()));
  }
  for (auto& output : outputs) {
    auto written = output->out.write(output->bytes);
    if (written.ok()) written = output->out.sync();
    if (!written.ok()) return failed(QString::fromStdString(written.message()));
  }
  // The 見積書 issued last, its file written inside the register's
  // transaction: once the register has it, every file is put in place.
  ui::StagedFiles issued;
  if (quotation && !request.draft) {
    if (const Expected<void> done = issueInto(request, *job, *quotation, issued); !done.ok())
      return failed(QString::fromStdString(done.message()));
  }
  for (auto& output : outputs) {
    if (auto committed = output->out.commit(); !committed.ok())
      return failed(QString::fromStdString(committed.message()));
  }
  if (auto committed = issued.commit(); !committed.ok())
    return failed(
        QString::fromStdString(committed.message()) +
        QStringLiteral("見積書は見積台帳に記録しました（kelvane-register pdf で書き出せます）。"));
  // Nobody is asked here, as the window asks: the 見積書 goes without its
  // addressee, and the one line says so once it is written.
  if (!request.quotationFile.empty() &&
      job::addresseeOf(job->fields.customer, job->fields.customerPerson).name.empty()) {
    tell(QStringLiteral("「%1」には顧客名がないため、見積書「%2」は宛名なしで作りました。")
             .arg(nameOf(request.jobFile), nameOf(request.quotationFile)));
  }
  return kSucceeded;
}

}  // namespace kelvane::app
