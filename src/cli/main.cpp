// The command line's entry: the window's import run from a terminal or a script.
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "app/AuditFile.h"
#include "app/ContributorImport.h"
#include "cli/CommandLine.h"
#include "cli/ConsolePanel.h"
#include "cli/RunTally.h"
#include "cli/StopSignal.h"
#include "common/Clock.h"
#include "common/InstallDir.h"
#include "common/MemoryPolicy.h"
#include "data/UDM.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// Exit statuses, as --help tells them.
constexpr int kImported = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;
constexpr int kUnreachable = 3;
constexpr int kStopped = 130;

void Print(std::FILE* out, const QString& text) {
  std::fputs((text + '\n').toUtf8().constData(), out);
  std::fflush(out);
}

int UsageFailure(const QString& message) {
  Print(stderr, "tavrel-import: " + message + "\nUse tavrel-import --help para ver as opções.");
  return kUsage;
}

// The audit file the command asks for; nullptr and *error when it cannot be written.
std::unique_ptr<ImportJournal> OpenJournal(const ImportCommand& command, const AuditHead& head,
                                           ConsolePanel& panel, QString* error) {
  const auto unrecorded = [&panel](const QString& reason) {
    panel.say("tavrel-import: o arquivo de auditoria deixou de ser gravado (" + reason +
              "); a importação segue sem ele.");
  };
  switch (command.audit) {
    case AuditTarget::None:
      return std::make_unique<NoJournal>();
    case AuditTarget::StandardOutput:
      return AuditFile::toStandardOutput(head, unrecorded);
    case AuditTarget::Path:
      if (QFileInfo(command.auditPath).isDir())
        return AuditFile::createIn(command.auditPath, head, unrecorded, error);
      return AuditFile::createAt(command.auditPath, head, unrecorded, error);
    case AuditTarget::LogsFolder:
      return AuditFile::createIn(InstallDir() + "logs", head, unrecorded, error);
  }
  return nullptr;
}

// What a run that ended before the end of its file left: nothing in a dry run, its commits
// otherwise.
QString EndedEarly(const ImportCommand& command, const ImportResult& result, const QString& dry,
                   const QString& real) {
  if (command.dryRun) return dry + "; nada foi gravado.";
  return real + QString(
                    " até o último commit: ficaram gravadas as %1 primeiras linhas lidas (%2 "
                    "Importados e %3 Alterados).")
                    .arg(result.linesCommitted)
                    .arg(result.importedCommitted)
                    .arg(result.rewrittenCommitted);
}

int Summarize(const ImportCommand& command, const ImportResult& result, const RunTally& tally,
              const QString& auditPath, ConsolePanel& panel) {
  const qint64 kept = tally.count(LineFate::NotOlder) + tally.count(LineFate::OtherYear);
  const QString where = auditPath.isEmpty() ? QString() : "\nAuditoria: " + auditPath;
  switch (result.outcome) {
    case ImportOutcome::Imported:
      if (command.quiet) return kImported;
      if (command.dryRun) {
        panel.say(QString("Simulação: seriam %1 inseridas, %2 reescritas, %3 mantidas e %4 "
                          "recusadas pelo banco, de %5 linhas; nada foi gravado.")
                      .arg(result.imported)
                      .arg(result.rewritten)
                      .arg(kept)
                      .arg(tally.count(LineFate::Refused))
                      .arg(result.linesRead) +
                  where);
      } else {
        panel.say(QString("(%1 Importados e %2 Alterados) de %3 linhas; %4 mantidas, %5 "
                          "recusadas pelo banco.")
                      .arg(result.imported)
                      .arg(result.rewritten)
                      .arg(result.linesRead)
                      .arg(kept)
                      .arg(tally.count(LineFate::Refused)) +
                  where);
      }
      return kImported;
    case ImportOutcome::Failed:
      panel.say(
          EndedEarly(command, result, "A simulação falhou", "A importação falhou e foi desfeita") +
          where);
      return kFailed;
    case ImportOutcome::Cancelled:
      panel.say(EndedEarly(command, result, "Simulação interrompida",
                           "Importação interrompida e desfeita") +
                where);
      return kStopped;
    case ImportOutcome::NoYear:
      return kUsage;
  }
  return kFailed;
}

}  // namespace

int main(int argc, char* argv[]) {
  ReturnLargeBlocksToTheSystem();
  QCoreApplication application(argc, argv);
#ifdef _WIN32
  SetConsoleOutputCP(CP_UTF8);
#endif

  ImportCommand command;
  try {
    command =
        ParseCommandLine(QCoreApplication::arguments().mid(1), QString::number(Today().year()));
  } catch (const UsageError& e) {
    return UsageFailure(e.message);
  }
  if (command.action == ImportCommand::Action::Help) {
    Print(stdout, HelpText());
    return kImported;
  }
  if (command.action == ImportCommand::Action::Version) {
    Print(stdout, QStringLiteral("tavrel-import " TAVREL_VERSION));
    return kImported;
  }
  if (!QFileInfo(command.file).isFile())
    return UsageFailure("arquivo não encontrado: " + command.file);
  if (QFile file(command.file); !file.open(QIODevice::ReadOnly))
    return UsageFailure("arquivo ilegível: " + command.file + " (" + file.errorString() + ")");

  ConsolePanel panel(stderr, command.quiet);
  dialogs::install(&panel);
  Tdm module;
  module.VOQ_Usuario = command.login;
  module.VOQ_Exercicio = command.year;
  try {
    module.Conexao.open();
  } catch (const std::exception& e) {
    panel.say("tavrel-import: não foi possível conectar ao banco de dados " +
              module.Conexao.params.database + ": " + QString::fromUtf8(e.what()));
    return kUnreachable;
  }

  const ImportRequest request{.path = command.file,
                              .year = command.year,
                              .layout = command.layout.value_or(layoutForFile(command.file)),
                              .dryRun = command.dryRun,
                              .bulk = command.bulk,
                              .reportEveryRetry = false};
  QString error;
  std::unique_ptr<ImportJournal> journal = OpenJournal(
      command, AuditHeadFor(module, request, command.bulk ? "em bloco" : "linha a linha"), panel,
      &error);
  if (!journal)
    return UsageFailure("o arquivo de auditoria não pode ser gravado: " + error +
                        " (--log none importa sem ele)");
  const auto* audit = dynamic_cast<const AuditFile*>(journal.get());
  const QString auditPath = audit ? audit->path() : QString();

  StopSignal::install();
  RunTally tally(*journal);
  panel.followLines(&tally);
  const ImportResult result = ImportContributors(module, request, panel, tally);
  const int status = Summarize(command, result, tally, auditPath, panel);
  journal.reset();
  module.Conexao.close();
  StopSignal::handled();
  dialogs::install(nullptr);
  return status;
}
