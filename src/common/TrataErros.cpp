#include "common/TrataErros.h"

#include "common/AppError.h"
#include "common/Dialogs.h"
#include "common/IniFile.h"
#include "common/InstallDir.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString asciiUpper(QString text) {
  for (QChar& c : text) {
    if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - u'a' + u'A');
  }
  return text;
}

QString cutAfterVoq7(const QString& path) {
  const qsizetype at = asciiUpper(path).indexOf(u"VOQ7");
  return at < 0 ? path : path.left(at) + "VOQ7";
}

// The paths are composed Windows-style for the server's sake; on this machine both separators
// divide folders, so that a missing parent is found missing on every platform.
QString ensured(const QString& folder) {
  const QString local = QString(folder).replace(u'\\', u'/');
  if (!QFileInfo(local).isDir() && !QDir().mkdir(local)) {
    throw AppError("Não é possível criar o diretório: " + folder);
  }
  return folder;
}

QString server(const QString& host, const QString& port) {
  return (host.isEmpty() ? QStringLiteral("localhost") : host) + u'/' + port;
}

QString separatorFor(const QString& system) {
  return system == u"LINUX" ? QStringLiteral("/") : QStringLiteral("\\");
}

QString box(const QString& first, const QString& second, const QString& third) {
  return first + "\r\r" + second + "\r\r" + third;
}

}  // namespace

QString CaminhoDB(QString Tipo) {
  const IniFile ini(InstallDir() + "voq.ini");
  const QString section = QStringLiteral("VOQ");
  const QString Ano = ini.readString(section, "Ano", "");
  const QString Ser = ini.readString(section, "Servidor", "");
  const QString SerTabdef = ini.readString(section, "ServidorTabDef", Ser);
  const QString SO_Servidor = ini.readString(section, "SO_Servidor", "WINDOWS");
  const QString SO_Tabdef = ini.readString(section, "SO_ServidorTabDef", "WINDOWS");
  const QString Cam = ini.readString(section, "Caminho_Base_Dados", "");
  const QString CamTabDef = ini.readString(section, "Caminho_TabDef", Cam);
  const QString Dir = ini.readString(section, "Diretorio_Servidor", "");
  const QString DirXUT = ini.readString(section, "Diretorio_XUT", "");
  const QString DllCon = ini.readString(section, "DLLCON", "fbclient.dll");
  const QString PortaCon = ini.readString(section, "PORTACON", "3050");
  const QString CaminhoCon = ini.readString(
      section, "CaminhoDLLCON", "C:\\Arquivos de programas\\Firebird\\Firebird_2_1\\bin\\");

  const QString Serv1 = server(Ser, PortaCon);
  const QString ServTD = server(SerTabdef, PortaCon);
  const QString CamVOQ7 = cutAfterVoq7(Cam);
  const QString CamTD = cutAfterVoq7(CamTabDef);
  const QString DirVOQ7 = cutAfterVoq7(Dir);
  const QString Barra = separatorFor(SO_Servidor);
  const QString BarraTD = separatorFor(SO_Tabdef);

  Tipo = asciiUpper(Tipo);
  const bool da = Tipo.startsWith(u"DA");
  const bool ba = Tipo.startsWith(u"BA");
  QString Retorno;

  if (!Ser.isEmpty()) {
    if (Tipo == u"D" || da) {
      Retorno = Dir + "SGB_DADOS\\";
    } else if (Tipo == u"B" || ba) {
      Retorno = Serv1 + ":" + Cam + "SGB_DADOS" + Barra;
    } else if (Tipo == u"SRV") {
      Retorno = Serv1;
    } else if (Tipo == u"TD") {
      Retorno = DirVOQ7 + "\\TABDEF\\";
    } else if (Tipo == u"TB") {
      Retorno = ServTD + ":" + CamTD + BarraTD + "TABDEF" + BarraTD;
    } else if (Tipo == u"BK") {
      Retorno = Cam + "SGB_DADOS" + Barra;
    } else if (Tipo == u"BKAD") {
      Retorno = ensured(Dir + "SGB_DADOS\\BCK\\");
    } else if (Tipo == u"BKAB") {
      ensured(Dir + "SGB_DADOS\\BCK\\");
      Retorno = Cam + "ARQ" + Ano + Barra + "BCK" + Barra;
    } else if (Tipo == u"AP") {
      Retorno = Dir;
    } else if (Tipo == u"TPD") {
      Retorno = ensured(Dir + "SGB_DADOS\\TEMP\\");
    } else if (Tipo == u"TPB") {
      ensured(Dir + "SGB_DADOS\\TEMP\\");
      Retorno = Cam + "SGB_DADOS" + Barra + "TEMP" + Barra;
    } else if (Tipo == u"DE") {
      Retorno = ensured(Dir + "SGB_DADOS\\EXPORTA\\");
    } else if (Tipo == u"DI") {
      Retorno = ensured(Dir + "SGB_DADOS\\IMPORTA\\");
    } else if (Tipo == u"RTM") {
      Retorno = ensured(Dir + "RTM\\");
    } else if (Tipo == u"RTMXUT") {
      Retorno = ensured(DirXUT + "RTM\\");
    } else if (Tipo == u"RPT") {
      ensured(Dir + "Relatorios\\");
      Retorno = Dir + "Relatorios" + Barra;
    } else if (Tipo == u"EXE") {
      Retorno = DirVOQ7 + "\\";
    }
  } else {
    if (Tipo == u"D" || da) {
      Retorno = Cam + "SGB_DADOS\\";
    } else if (Tipo == u"B") {
      Retorno = Serv1 + ":" + Cam + "SGB_DADOS\\";
    } else if (Tipo == u"SRV") {
      Retorno = Serv1;
    } else if (ba) {
      Retorno = Cam + "SGB_DADOS\\";
    } else if (Tipo == u"TD") {
      Retorno = CamTD + "\\TABDEF\\";
    } else if (Tipo == u"TB") {
      Retorno = ServTD + ":" + CamTD + "\\TABDEF\\";
    } else if (Tipo == u"BK") {
      Retorno = Cam + "SGB_DADOS\\";
    } else if (Tipo == u"BKAD" || Tipo == u"BKAB") {
      Retorno = ensured(Cam + "SGB_DADOS\\BCK\\");
    } else if (Tipo == u"AP") {
      Retorno = Cam;
    } else if (Tipo == u"TPD" || Tipo == u"TPB") {
      Retorno = ensured(Cam + "SGB_DADOS\\TEMP\\");
    } else if (Tipo == u"DE") {
      Retorno = ensured(Cam + "SGB_DADOS\\EXPORTA\\");
    } else if (Tipo == u"DI") {
      Retorno = ensured(Cam + "SGB_DADOS\\IMPORTA\\");
    } else if (Tipo == u"RTM") {
      Retorno = ensured(Cam + "RTM\\");
    } else if (Tipo == u"RTMXUT") {
      Retorno = ensured(DirXUT + "RTM\\");
    } else if (Tipo == u"RPT") {
      ensured(Cam + "Relatorios\\");
      Retorno = Serv1 + ":" + Cam + Barra + "Relatorios" + Barra;
    } else if (Tipo == u"IMA") {
      Retorno = ensured(Cam + "IMAGENS\\");
    } else if (Tipo == u"SB") {
      ensured(Cam + "SGB_DADOS");
      Retorno = Serv1 + ":" + Cam + "SGB_DADOS\\";
    } else if (Tipo == u"STB") {
      ensured(CamVOQ7 + Barra + "TABDEF");
      Retorno = Serv1 + ":" + CamVOQ7 + Barra + "TABDEF" + Barra;
    } else if (Tipo == u"EXE") {
      Retorno = CamVOQ7 + "\\";
    } else {
      Retorno = CamVOQ7 + "\\TABDEF\\";
    }
  }

  if (Tipo == u"DLLFB") {
    Retorno = CaminhoCon + DllCon;
  } else if (Tipo == u"CDLLFB") {
    Retorno = CaminhoCon;
  } else if (Tipo == u"PORTA") {
    Retorno = PortaCon;
  }
  return Retorno;
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
