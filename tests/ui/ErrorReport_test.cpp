#include "common/ErrorReport.h"

#include "common/AppError.h"
#include "support/RecordingDialogs.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(ApplicationTitle, IsTheFileNameUpToItsFirstFullStopInSmallLettersAfterTheFirst) {
  const struct {
    QString path, title;
  } cases[] = {
      {"tavrel", "tavrel"},
      {"Tavrel.exe", "Tavrel"},
      {"TAVREL.EXE", "Tavrel"},
      {"my.app.exe", "my"},
      {"/opt/voq/BIN.D/TaVrEl", "Tavrel"},
      {"C:/VOQ/Tavrel.exe", "Tavrel"},
      {".hidden", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ApplicationTitle(c.path), c.title) << c.path.toStdString();
}

TEST(ReportText, EndsWithAFullStopWhenTheLastCharacterIsAboveIt) {
  const struct {
    QString failure, text;
  } cases[] = {
      {"abc", "abc."},  {"abc.", "abc."},  {"abc!", "abc!"},      {"", ""},
      {"abc-", "abc-"}, {"abc/", "abc/."}, {"erro 1", "erro 1."}, {"ação", "ação."},
      {"abc ", "abc "},
  };
  for (const auto& c : cases) EXPECT_EQ(ReportText(c.failure), c.text) << c.failure.toStdString();
}

TEST(Guarded, RunsTheHandlerAndShowsNothingWhenItSucceeds) {
  RecordingDialogs dialogs;
  bool ran = false;
  Guarded([&] { ran = true; });
  EXPECT_TRUE(ran);
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST(Guarded, TurnsWhatTheHandlerThrowsIntoTheDefaultErrorReport) {
  const struct {
    const char* name;
    std::function<void()> handler;
    QString text;
  } cases[] = {
      {"std::runtime_error", [] { throw std::runtime_error("falhou"); }, "falhou."},
      {"AppError with accents", [] { throw AppError("Conexão recusada"); }, "Conexão recusada."},
      {"text ending in a full stop", [] { throw std::logic_error("fim."); }, "fim."},
      {"not an exception class", [] { throw 42; }, "Erro desconhecido."},
  };
  for (const auto& c : cases) {
    RecordingDialogs dialogs;
    EXPECT_NO_THROW(Guarded(c.handler)) << c.name;
    const std::vector<RecordingDialogs::Box> expected{
        {dialogs::BoxKind::Error, "ui_tests", c.text}};
    EXPECT_EQ(dialogs.boxes, expected) << c.name;
  }
}
