#include "common/TrataErros.h"

#include "support/RecordingDialogs.h"

#include <gtest/gtest.h>

namespace {

const QString kDependentRows =
    "Atenção!!! \r\rExistem Registros que dependem do Registro que você está tentando alterar "
    "ou excluir...\r\rA Operação será cancelada.";
const QString kDuplicateKey =
    "Atenção!!! \r\rViolação de Chave Primária! Registro já Existe...\r\rA Operação será "
    "cancelada.";
const QString kRequiredValue =
    "Atenção!!! \r\rCampo de Preencimento Obrigatório!!!\r\rFavor Informar um Valor";

TEST(Tratar_Erro, ExplainsEachKindOfFailureFoundInTheMessage) {
  const struct {
    QString msg;
    std::vector<QString> texts;
  } cases[] = {
      {"violation of FOREIGN KEY constraint \"FK_CAM_TOM\" on table \"GR_CONTRIB_CAMPANHA\"",
       {kDependentRows}},
      {"violation of PRIMARY or UNIQUE KEY constraint \"PK_GR_CONTRIB_CAMPANHA\"", {kDuplicateKey}},
      {"attempt to store duplicate value (visible to active transactions) in unique index "
       "\"PK_X\"",
       {kDuplicateKey}},
      {"unique index only", {kDuplicateKey}},
      {"FK_A and PK_B", {kDependentRows, kDuplicateKey}},
      {"must have a value, PK_B, fk_a", {kDependentRows, kDuplicateKey, kRequiredValue}},
      {"Field 'NOME_CAM' must have a value", {kRequiredValue}},
      {"ROWFK_INSIDE", {kDependentRows}},
      {"Record not found or changed by another user",
       {"Record not found or changed by another user"}},
      {"Falha de Conexão ÀÉ", {"Falha de Conexão ÀÉ"}},
      {"FK-1 PK 2 UNIQUEINDEX", {"FK-1 PK 2 UNIQUEINDEX"}},
      {"", {""}},
  };
  for (const auto& c : cases) {
    RecordingDialogs recorder;
    EXPECT_TRUE(Tratar_Erro(c.msg));
    std::vector<RecordingDialogs::Box> expected;
    for (const QString& text : c.texts) expected.push_back({dialogs::BoxKind::Error, "Erro", text});
    EXPECT_EQ(recorder.boxes, expected) << c.msg.toStdString();
  }
}

}  // namespace
