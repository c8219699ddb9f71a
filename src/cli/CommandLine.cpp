#include "cli/CommandLine.h"

#include <QRegularExpression>

namespace {

// The value of an option given either as "--name value" or "--name=value".
std::optional<QString> OptionValue(const QStringList& arguments, qsizetype& i,
                                   const QString& name) {
  const QString& argument = arguments[i];
  if (argument == name) {
    if (i + 1 >= arguments.size()) throw UsageError{"falta o valor de " + name};
    return arguments[++i];
  }
  if (argument.startsWith(name + '=')) return argument.mid(name.size() + 1);
  return std::nullopt;
}

}  // namespace

ImportCommand ParseCommandLine(const QStringList& arguments, const QString& currentYear) {
  ImportCommand command;
  command.year = currentYear;
  QStringList files;
  bool optionsEnded = false;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (optionsEnded || !argument.startsWith("--") || argument == "-") {
      files << argument;
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "--help") {
      command.action = ImportCommand::Action::Help;
      return command;
    } else if (argument == "--version") {
      command.action = ImportCommand::Action::Version;
      return command;
    } else if (argument == "--dry-run") {
      command.dryRun = true;
    } else if (argument == "--bulk") {
      command.bulk = true;
    } else if (argument == "--quiet") {
      command.quiet = true;
    } else if (const auto login = OptionValue(arguments, i, "--login")) {
      command.login = *login;
    } else if (const auto year = OptionValue(arguments, i, "--year")) {
      command.year = *year;
    } else if (const auto layout = OptionValue(arguments, i, "--layout")) {
      if (layout->compare("txt", Qt::CaseInsensitive) == 0)
        command.layout = ImportLayout::FixedColumn;
      else if (layout->compare("csv", Qt::CaseInsensitive) == 0)
        command.layout = ImportLayout::Delimited;
      else
        throw UsageError{"leiaute desconhecido: " + *layout + " (use txt ou csv)"};
    } else if (const auto log = OptionValue(arguments, i, "--log")) {
      if (*log == "-") {
        command.audit = AuditTarget::StandardOutput;
      } else if (*log == "none") {
        command.audit = AuditTarget::None;
      } else if (log->isEmpty()) {
        throw UsageError{"--log sem caminho"};
      } else {
        command.audit = AuditTarget::Path;
        command.auditPath = *log;
      }
    } else {
      throw UsageError{"opção desconhecida: " + argument};
    }
  }
  if (files.size() != 1)
    throw UsageError{files.isEmpty() ? "falta o arquivo a importar"
                                     : "um arquivo só, não " + QString::number(files.size())};
  command.file = files.front();
  if (command.login.trimmed().isEmpty()) throw UsageError{"falta o login (--login LOGIN)"};
  // The year is stored as a whole number; a sign or another numeral would be read differently.
  static const QRegularExpression kYear(QStringLiteral("^[0-9]{4}$"));
  if (!kYear.match(command.year).hasMatch() || command.year.toInt() < 1)
    throw UsageError{"exercício inválido: " + command.year + " (quatro algarismos, ex.: 2024)"};
  return command;
}

QString HelpText() {
  return QStringLiteral(
      "Uso: tavrel-import [opções] ARQUIVO\n"
      "\n"
      "Importa o arquivo de CNPJ de candidatos e partidos para a tabela GR_CONTRIB_CAMPANHA, como\n"
      "o botão Importar do tavrel: o banco vem do voq.ini ao lado do programa, e cada linha\n"
      "inserida ou reescrita leva o login e a hora do servidor.\n"
      "\n"
      "Opções:\n"
      "  --login LOGIN     login do operador gravado nas linhas (obrigatório)\n"
      "  --year ANO        exercício da importação (padrão: o ano corrente): as linhas gravadas\n"
      "                    neste exercício são as que podem ser reescritas, e é o ano das linhas\n"
      "                    de partido\n"
      "  --layout txt|csv  leiaute do arquivo (padrão: pela extensão; .csv é CSV, o resto TXT)\n"
      "  --dry-run         simulação: faz tudo numa transação desfeita no fim e diz o que seria\n"
      "                    inserido, reescrito, mantido ou recusado; a tabela não muda\n"
      "  --bulk            em bloco: as mesmas decisões e linhas, com menos idas ao servidor;\n"
      "                    enquanto roda, outras estações esperam para gravar na tabela\n"
      "  --log CAMINHO     arquivo de auditoria (CSV): um arquivo, ou uma pasta onde criar um;\n"
      "                    '-' para a saída padrão, 'none' para nenhum (padrão: um arquivo novo\n"
      "                    na pasta logs ao lado do programa)\n"
      "  --quiet           sem progresso nem resumo; só erros\n"
      "  --help            esta ajuda\n"
      "  --version         a versão do programa\n"
      "\n"
      "O progresso, as mensagens e o resumo vão para a saída de erros. Uma linha recusada pelo\n"
      "banco é explicada e a importação segue, como na janela.\n"
      "Ctrl+C (ou SIGTERM) desfaz a transação aberta e diz o que ficou gravado.\n"
      "\n"
      "Situação de saída:\n"
      "    0  importado (na simulação: simulação concluída)\n"
      "    1  a importação falhou e foi desfeita até o último commit (diz quantas linhas ficaram)\n"
      "    2  uso ou entrada: arquivo inexistente ou ilegível, leiaute desconhecido, exercício\n"
      "       inválido, sem login, arquivo de auditoria que não pode ser gravado\n"
      "    3  o banco de dados não pôde ser alcançado ou a conta foi recusada\n"
      "  130  interrompido (Ctrl+C, SIGTERM, console fechado); desfeito até o último commit\n");
}
