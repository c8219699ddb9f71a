#include "common/TrataErros.h"

#include "common/AppError.h"
#include "common/Dialogs.h"
#include "common/IniFile.h"
#include "common/InstallDir.h"
#include "common/funcoes.h"

#include <QDir>
#include <QFileInfo>
#include <vector>

namespace {

QString cutAfterVoq7(const QString& path) {
  const qsizetype at = asciiUpper(path).indexOf(u"VOQ7");
  return at < 0 ? path : path.left(at) + "VOQ7";
}

// The paths are composed Windows-style for the server's sake; on this machine both separators
// divide folders, so that a missing parent is found missing on every platform.
void ensure(const QString& folder) {
  const QString local = QString(folder).replace(u'\\', u'/');
  if (!QFileInfo(local).isDir() && !QDir().mkdir(local)) {
    throw AppError("Não é possível criar o diretório: " + folder);
  }
}

QString server(const QString& host, const QString& port) {
  return (host.isEmpty() ? QStringLiteral("localhost") : host) + u'/' + port;
}

QString separatorFor(const QString& system) {
  return system == u"LINUX" ? QStringLiteral("/") : QStringLiteral("\\");
}

// What a code gives: a path, and a folder made before it is given (none when empty).
struct Route {
  QString path;
  QString folder = {};
};

Route made(const QString& folder) {
  return {folder, folder};
}

struct Code {
  QStringView code;
  Route route;
};

// The voq.ini values the paths are made of, under the names the suite has always given them.
struct Settings {
  explicit Settings(const IniFile& ini);
  QString Ano, Ser, Cam, Dir, DirXUT, DllCon, PortaCon, CaminhoCon;
  QString Serv1, ServTD, CamVOQ7, CamTD, DirVOQ7, Barra, BarraTD;
};

Settings::Settings(const IniFile& ini) {
  const QString section = QStringLiteral("VOQ");
  Ano = ini.readString(section, "Ano", "");
  Ser = ini.readString(section, "Servidor", "");
  const QString SerTabdef = ini.readString(section, "ServidorTabDef", Ser);
  const QString SO_Servidor = ini.readString(section, "SO_Servidor", "WINDOWS");
  const QString SO_Tabdef = ini.readString(section, "SO_ServidorTabDef", "WINDOWS");
  Cam = ini.readString(section, "Caminho_Base_Dados", "");
  const QString CamTabDef = ini.readString(section, "Caminho_TabDef", Cam);
  Dir = ini.readString(section, "Diretorio_Servidor", "");
  DirXUT = ini.readString(section, "Diretorio_XUT", "");
  DllCon = ini.readString(section, "DLLCON", "fbclient.dll");
  PortaCon = ini.readString(section, "PORTACON", "3050");
  CaminhoCon = ini.readString(section, "CaminhoDLLCON",
                              "C:\\Arquivos de programas\\Firebird\\Firebird_2_1\\bin\\");

  Serv1 = server(Ser, PortaCon);
  ServTD = server(SerTabdef, PortaCon);
  CamVOQ7 = cutAfterVoq7(Cam);
  CamTD = cutAfterVoq7(CamTabDef);
  DirVOQ7 = cutAfterVoq7(Dir);
  Barra = separatorFor(SO_Servidor);
  BarraTD = separatorFor(SO_Tabdef);
}

// The codes of an installation whose databases are on a server of its own; any other code
// gives an empty path.
std::vector<Code> serverCodes(const Settings& s) {
  return {
      {u"D", {s.Dir + "SGB_DADOS\\"}},
      {u"B", {s.Serv1 + ":" + s.Cam + "SGB_DADOS" + s.Barra}},
      {u"BA", {s.Serv1 + ":" + s.Cam + "SGB_DADOS" + s.Barra}},
      {u"SRV", {s.Serv1}},
      {u"TD", {s.DirVOQ7 + "\\TABDEF\\"}},
      {u"TB", {s.ServTD + ":" + s.CamTD + s.BarraTD + "TABDEF" + s.BarraTD}},
      {u"BK", {s.Cam + "SGB_DADOS" + s.Barra}},
      {u"BKAD", made(s.Dir + "SGB_DADOS\\BCK\\")},
      {u"BKAB", {s.Cam + "ARQ" + s.Ano + s.Barra + "BCK" + s.Barra, s.Dir + "SGB_DADOS\\BCK\\"}},
      {u"AP", {s.Dir}},
      {u"TPD", made(s.Dir + "SGB_DADOS\\TEMP\\")},
      {u"TPB", {s.Cam + "SGB_DADOS" + s.Barra + "TEMP" + s.Barra, s.Dir + "SGB_DADOS\\TEMP\\"}},
      {u"DE", made(s.Dir + "SGB_DADOS\\EXPORTA\\")},
      {u"DI", made(s.Dir + "SGB_DADOS\\IMPORTA\\")},
      {u"RTM", made(s.Dir + "RTM\\")},
      {u"RTMXUT", made(s.DirXUT + "RTM\\")},
      {u"RPT", {s.Dir + "Relatorios" + s.Barra, s.Dir + "Relatorios\\"}},
      {u"EXE", {s.DirVOQ7 + "\\"}},
  };
}

// The codes of an installation without a server setting; any other code gives the TABDEF
// folder beside the suite.
std::vector<Code> localCodes(const Settings& s) {
  return {
      {u"D", {s.Cam + "SGB_DADOS\\"}},
      {u"B", {s.Serv1 + ":" + s.Cam + "SGB_DADOS\\"}},
      {u"BA", {s.Cam + "SGB_DADOS\\"}},
      {u"SRV", {s.Serv1}},
      {u"TD", {s.CamTD + "\\TABDEF\\"}},
      {u"TB", {s.ServTD + ":" + s.CamTD + "\\TABDEF\\"}},
      {u"BK", {s.Cam + "SGB_DADOS\\"}},
      {u"BKAD", made(s.Cam + "SGB_DADOS\\BCK\\")},
      {u"BKAB", made(s.Cam + "SGB_DADOS\\BCK\\")},
      {u"AP", {s.Cam}},
      {u"TPD", made(s.Cam + "SGB_DADOS\\TEMP\\")},
      {u"TPB", made(s.Cam + "SGB_DADOS\\TEMP\\")},
      {u"DE", made(s.Cam + "SGB_DADOS\\EXPORTA\\")},
      {u"DI", made(s.Cam + "SGB_DADOS\\IMPORTA\\")},
      {u"RTM", made(s.Cam + "RTM\\")},
      {u"RTMXUT", made(s.DirXUT + "RTM\\")},
      {u"RPT", {s.Serv1 + ":" + s.Cam + s.Barra + "Relatorios" + s.Barra, s.Cam + "Relatorios\\"}},
      {u"IMA", made(s.Cam + "IMAGENS\\")},
      {u"SB", {s.Serv1 + ":" + s.Cam + "SGB_DADOS\\", s.Cam + "SGB_DADOS"}},
      {u"STB",
       {s.Serv1 + ":" + s.CamVOQ7 + s.Barra + "TABDEF" + s.Barra, s.CamVOQ7 + s.Barra + "TABDEF"}},
      {u"EXE", {s.CamVOQ7 + "\\"}},
  };
}

// The client library's codes, alike in both kinds of installation.
std::vector<Code> clientCodes(const Settings& s) {
  return {
      {u"DLLFB", {s.CaminhoCon + s.DllCon}},
      {u"CDLLFB", {s.CaminhoCon}},
      {u"PORTA", {s.PortaCon}},
  };
}

const Route* find(const std::vector<Code>& codes, QStringView code) {
  for (const Code& c : codes) {
    if (c.code == code) return &c.route;
  }
  return nullptr;
}

QString box(const QString& first, const QString& second, const QString& third) {
  return first + "\r\r" + second + "\r\r" + third;
}

}  // namespace

QString CaminhoDB(QString Tipo) {
  const Settings s(IniFile(InstallDir() + "voq.ini"));
  Tipo = asciiUpper(Tipo);
  // The year or number after these two letters does not change the path.
  const QString code = Tipo.startsWith(u"DA")   ? QStringLiteral("D")
                       : Tipo.startsWith(u"BA") ? QStringLiteral("BA")
                                                : Tipo;
  const std::vector<Code> client = clientCodes(s);
  if (const Route* route = find(client, code)) return route->path;
  const bool local = s.Ser.isEmpty();
  const std::vector<Code> codes = local ? localCodes(s) : serverCodes(s);
  const Route* route = find(codes, code);
  if (route == nullptr) return local ? s.CamVOQ7 + "\\TABDEF\\" : QString();
  if (!route->folder.isEmpty()) ensure(route->folder);
  return route->path;
}

bool Tratar_Erro(QString Msg) {
  const QString U = asciiUpper(Msg);
  bool shown = false;
  const auto show = [&shown](const QString& text) {
    dialogs::current().message(dialogs::BoxKind::Error, "Erro", text);
    shown = true;
  };

  if (U.contains(u"FK_")) {
    show(box("Atenção!!! ",
             "Existem Registros que dependem do Registro que você está tentando alterar ou "
             "excluir...",
             "A Operação será cancelada."));
  }
  if (U.contains(u"UNIQUE INDEX") || U.contains(u"PK_")) {
    show(box("Atenção!!! ", "Violação de Chave Primária! Registro já Existe...",
             "A Operação será cancelada."));
  }
  if (U.contains(u"MUST HAVE A VALUE")) {
    show(box("Atenção!!! ", "Campo de Preencimento Obrigatório!!!", "Favor Informar um Valor"));
  }
  if (!shown) show(Msg);
  return true;
}
