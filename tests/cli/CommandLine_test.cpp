#include "cli/CommandLine.h"

#include <gtest/gtest.h>

namespace {

ImportCommand Parse(const QStringList& arguments) {
  return ParseCommandLine(arguments, "2026");
}

TEST(CommandLine, ReadsEveryOptionInEitherSpelling) {
  const ImportCommand command =
      Parse({"--login", "ana", "--year=2018", "--layout", "CSV", "--dry-run", "--bulk",
             "--log=/tmp/x.csv", "--quiet", "arquivo.txt"});
  EXPECT_EQ(command.action, ImportCommand::Action::Import);
  EXPECT_EQ(command.file, "arquivo.txt");
  EXPECT_EQ(command.login, "ana");
  EXPECT_EQ(command.year, "2018");
  EXPECT_EQ(command.layout, ImportLayout::Delimited);
  EXPECT_TRUE(command.dryRun);
  EXPECT_TRUE(command.bulk);
  EXPECT_EQ(command.audit, AuditTarget::Path);
  EXPECT_EQ(command.auditPath, "/tmp/x.csv");
  EXPECT_TRUE(command.quiet);
}

TEST(CommandLine, DefaultsToThisYearTheLayoutOfTheNameAndTheLogsFolder) {
  const ImportCommand command = Parse({"--login=ana", "dados.csv"});
  EXPECT_EQ(command.year, "2026");
  EXPECT_EQ(command.layout, std::nullopt);
  EXPECT_FALSE(command.dryRun);
  EXPECT_FALSE(command.bulk);
  EXPECT_EQ(command.audit, AuditTarget::LogsFolder);
}

TEST(CommandLine, LogToStandardOutputOrNowhere) {
  EXPECT_EQ(Parse({"--login=a", "--log", "-", "f"}).audit, AuditTarget::StandardOutput);
  EXPECT_EQ(Parse({"--login=a", "--log", "none", "f"}).audit, AuditTarget::None);
}

TEST(CommandLine, HelpAndVersionNeedNothingElse) {
  EXPECT_EQ(Parse({"--help"}).action, ImportCommand::Action::Help);
  EXPECT_EQ(Parse({"f.txt", "--help"}).action, ImportCommand::Action::Help);
  EXPECT_EQ(Parse({"--version"}).action, ImportCommand::Action::Version);
}

TEST(CommandLine, AFileNamedLikeAnOptionAfterTheEndOfOptions) {
  EXPECT_EQ(Parse({"--login=a", "--", "--bulk"}).file, "--bulk");
  EXPECT_FALSE(Parse({"--login=a", "--", "--bulk"}).bulk);
}

TEST(CommandLine, RefusesWhatItCannotRun) {
  const struct {
    QStringList arguments;
    const char* says;
  } cases[] = {
      {{"f.txt"}, "falta o login"},
      {{"--login=  ", "f.txt"}, "falta o login"},
      {{"--login=a"}, "falta o arquivo"},
      {{"--login=a", "f.txt", "g.txt"}, "um arquivo só"},
      {{"--login=a", "--layout=xls", "f.txt"}, "leiaute desconhecido: xls"},
      {{"--login=a", "--year=18", "f.txt"}, "exercício inválido: 18"},
      {{"--login=a", "--year=0000", "f.txt"}, "exercício inválido"},
      {{"--login=a", "--year=-2018", "f.txt"}, "exercício inválido"},
      {{"--login=a", "--year= 2018", "f.txt"}, "exercício inválido"},
      {{"--login=a", "--log=", "f.txt"}, "--log sem caminho"},
      {{"--login=a", "f.txt", "--login"}, "falta o valor de --login"},
      {{"--login=a", "--fast", "f.txt"}, "opção desconhecida: --fast"},
  };
  for (const auto& c : cases) {
    try {
      Parse(c.arguments);
      ADD_FAILURE() << c.arguments.join(' ').toStdString() << " was taken";
    } catch (const UsageError& e) {
      EXPECT_TRUE(e.message.contains(QString::fromUtf8(c.says)))
          << c.arguments.join(' ').toStdString() << ": " << e.message.toStdString();
    }
  }
}

}  // namespace
