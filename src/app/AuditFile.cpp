#include "app/AuditFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <cstdio>

#include "common/Clock.h"
#include "data/UDM.h"

namespace {

const QString kTimeFormat = QStringLiteral("dd/MM/yyyy HH:mm:ss");
const QString kNewline = QStringLiteral("\r\n");

QString Time(const QDateTime& moment) {
  return moment.isValid() ? moment.toString(kTimeFormat) : QString();
}

// One field as a spreadsheet reads it back: quoted when it holds the separator, a quote or a
// line break, and never starting as a formula would.
QString Field(QString text) {
  if (!text.isEmpty() && QStringLiteral("=+-@\t\r").contains(text.front())) text.prepend(u'\'');
  if (text.contains(u';') || text.contains(u'"') || text.contains(u'\n') || text.contains(u'\r'))
    return u'"' + text.replace(u'"', QStringLiteral("\"\"")) + u'"';
  return text;
}

QString Row(const QStringList& fields) {
  QStringList escaped;
  for (const QString& field : fields) escaped << Field(field);
  return escaped.join(u';') + kNewline;
}

QString FateText(LineFate fate) {
  switch (fate) {
    case LineFate::Inserted:
      return QStringLiteral("inserida");
    case LineFate::Rewritten:
      return QStringLiteral("reescrita");
    case LineFate::NotOlder:
      return QStringLiteral("mantida: a data gravada não é mais antiga");
    case LineFate::OtherYear:
      return QStringLiteral("mantida: o CNPJ está gravado em outro exercício");
    case LineFate::Refused:
      return QStringLiteral("recusada pelo banco");
    case LineFate::NotContributor:
      return QStringLiteral("não é linha de contribuinte");
    case LineFate::Failed:
      return QStringLiteral("erro que parou a importação");
  }
  return {};
}

QString EndText(const ImportResult& result, bool dryRun) {
  switch (result.outcome) {
    case ImportOutcome::Imported:
      return dryRun ? QStringLiteral("simulação concluída: nada foi gravado")
                    : QStringLiteral("importado");
    case ImportOutcome::Failed:
      return "falhou: " + result.error;
    case ImportOutcome::NoYear:
      return QStringLiteral("não iniciado: O Exercicio é Obrigatório!");
    case ImportOutcome::Cancelled:
      return QStringLiteral("interrompido");
  }
  return {};
}

QString FileNameFor(const QDateTime& start, int attempt) {
  const QString stem = "importacao-" + start.toString(QStringLiteral("yyyyMMdd-HHmmss"));
  return attempt == 1 ? stem + ".csv" : stem + '-' + QString::number(attempt) + ".csv";
}

}  // namespace

AuditHead AuditHeadFor(const Tdm& module, const ImportRequest& request, const QString& mode) {
  AuditHead head;
  head.file = QDir::toNativeSeparators(QFileInfo(request.path).absoluteFilePath());
  head.layout = request.layout;
  // A run works on the year its cache was opened for, which only a closed cache takes anew.
  head.year = module.cdsCAM.active() ? module.camYear() : request.year;
  head.login = module.VOQ_Usuario;
  head.workstation = QSysInfo::machineHostName();
  head.database = module.Conexao.params.database;
  head.mode = mode;
  head.dryRun = request.dryRun;
  head.start = Now();
  return head;
}

AuditFile::AuditFile(std::unique_ptr<QIODevice> out, const AuditHead& head,
                     std::function<void(const QString&)> onFailure)
    : out_(std::move(out)), head_(head), onFailure_(std::move(onFailure)) {
  QString text = QStringLiteral("\uFEFF");
  text += Row({head_.dryRun ? "Simulação de importação de CNPJ de campanha (nada foi gravado)"
                            : "Importação de CNPJ de campanha"});
  text += Row({"Arquivo", head_.file});
  text += Row({"Leiaute", head_.layout == ImportLayout::Delimited ? "CSV" : "TXT"});
  text += Row({"Exercício", head_.year});
  text += Row({"Login", head_.login});
  text += Row({"Estação", head_.workstation});
  text += Row({"Banco de dados", head_.database});
  text += Row({"Modo", head_.mode});
  text += Row({"Início", Time(head_.start)});
  text += QStringLiteral("Término;");
  write(text);
  // Filled in at the end where the file can seek back to it; blank until then, so a run that
  // never ended shows none.
  if (!out_->isSequential()) endFieldOffset_ = out_->pos();
  write(QString(kTimeFormat.size(), u' ') + kNewline + kNewline);
  write(Row({"Linha", "CNPJ", "Nome", "Resultado", "Código", "Data substituída", "Explicação"}));
}

AuditFile::~AuditFile() = default;

std::unique_ptr<AuditFile> AuditFile::createIn(const QString& folder, const AuditHead& head,
                                               std::function<void(const QString&)> onFailure,
                                               QString* error) {
  if (!QDir().mkpath(folder)) {
    *error = "não foi possível criar a pasta " + QDir::toNativeSeparators(folder);
    return nullptr;
  }
  // Two runs started in the same second get files of their own.
  for (int attempt = 1;; ++attempt) {
    auto file = std::make_unique<QFile>(QDir(folder).filePath(FileNameFor(head.start, attempt)));
    if (file->open(QIODevice::WriteOnly | QIODevice::NewOnly))
      return std::make_unique<AuditFile>(std::move(file), head, std::move(onFailure));
    if (!file->exists() || attempt == 100) {
      *error = QDir::toNativeSeparators(file->fileName()) + ": " + file->errorString();
      return nullptr;
    }
  }
}

std::unique_ptr<AuditFile> AuditFile::createAt(const QString& path, const AuditHead& head,
                                               std::function<void(const QString&)> onFailure,
                                               QString* error) {
  auto file = std::make_unique<QFile>(path);
  if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    *error = QDir::toNativeSeparators(path) + ": " + file->errorString();
    return nullptr;
  }
  return std::make_unique<AuditFile>(std::move(file), head, std::move(onFailure));
}

std::unique_ptr<AuditFile> AuditFile::toStandardOutput(
    const AuditHead& head, std::function<void(const QString&)> onFailure) {
  auto out = std::make_unique<QFile>();
  out->open(stdout, QIODevice::WriteOnly);
  return std::make_unique<AuditFile>(std::move(out), head, std::move(onFailure));
}

QString AuditFile::path() const {
  const auto* file = qobject_cast<const QFile*>(out_.get());
  return file && !file->fileName().isEmpty() ? QFileInfo(*file).absoluteFilePath() : QString();
}

void AuditFile::record(const LineRecord& line) {
  if (head_.dryRun) {
    writeRow(line, false);
    return;
  }
  if (line.fate == LineFate::NotContributor && !held_.empty()) {
    if (auto* range = std::get_if<PassedOver>(&held_.back());
        range && range->last + 1 == line.number) {
      range->last = line.number;
      return;
    }
  }
  if (line.fate == LineFate::NotContributor)
    held_.emplace_back(PassedOver{line.number, line.number});
  else
    held_.emplace_back(line);
}

void AuditFile::committed() {
  writeHeld(false);
  flush();
}

void AuditFile::ended(const ImportResult& result) {
  const bool undone = result.outcome != ImportOutcome::Imported && !head_.dryRun;
  writeHeld(undone);
  const QString end = Time(Now());
  QString text = kNewline;
  text += Row({"Situação", EndText(result, head_.dryRun)});
  text += Row({"Término", end});
  text += Row({"Linhas do arquivo", QString::number(result.lines)});
  text += Row({"Linhas lidas", QString::number(result.linesRead)});
  text += Row({"Importados", QString::number(result.imported)});
  text += Row({"Alterados", QString::number(result.rewritten)});
  text += Row({"Mantidos", QString::number(passedOver_)});
  text += Row({"Recusados pelo banco", QString::number(refused_)});
  text += Row({"Não são linhas de contribuinte", QString::number(notContributor_)});
  if (undone) {
    text += Row({"Linhas gravadas até o último commit", QString::number(result.linesCommitted)});
    text += Row({"Linhas desfeitas", QString::number(undone_)});
  }
  write(text);
  if (endFieldOffset_ >= 0 && !failed_) {
    const qint64 tail = out_->pos();
    if (!out_->seek(endFieldOffset_)) fail(out_->errorString());
    write(end);
    if (!failed_ && !out_->seek(tail)) fail(out_->errorString());
  }
  flush();
}

void AuditFile::writeHeld(bool undone) {
  for (const Held& held : held_) {
    if (const auto* line = std::get_if<LineRecord>(&held)) {
      writeRow(*line, undone);
      continue;
    }
    const auto& range = std::get<PassedOver>(held);
    for (qint64 number = range.first; number <= range.last; ++number)
      writeRow(LineRecord{.number = number}, undone);
  }
  held_.clear();
}

void AuditFile::writeRow(const LineRecord& line, bool undone) {
  QString result = FateText(line.fate);
  QString explanation = line.explanation;
  if (undone) {
    explanation = explanation.isEmpty() ? result : result + ": " + explanation;
    result = QStringLiteral("desfeita");
    ++undone_;
  }
  if (line.fate == LineFate::Refused) ++refused_;
  if (line.fate == LineFate::NotOlder || line.fate == LineFate::OtherYear) ++passedOver_;
  if (line.fate == LineFate::NotContributor) ++notContributor_;
  write(
      Row({QString::number(line.number), line.CNPJ, line.Nome, result,
           line.code ? QString::number(line.code) : QString(), Time(line.replaced), explanation}));
}

void AuditFile::write(const QString& text) {
  if (failed_) return;
  const QByteArray bytes = text.toUtf8();
  if (out_->write(bytes) != bytes.size()) fail(out_->errorString());
}

void AuditFile::flush() {
  // What is written by each commit survives the program.
  if (auto* file = qobject_cast<QFile*>(out_.get()); file && !failed_ && !file->flush())
    fail(file->errorString());
}

void AuditFile::fail(const QString& reason) {
  if (failed_) return;
  failed_ = true;
  if (onFailure_) onFailure_(reason);
}
