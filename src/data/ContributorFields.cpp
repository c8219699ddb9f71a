#include "data/ContributorFields.h"

std::vector<FieldDef> ContributorFields(bool codCamRequired) {
  return {
      {"COD_CAM", FieldType::Integer, 0, codCamRequired, {}},
      {"TIPO_CAM", FieldType::String, 20, false, {}},
      {"CNPJ_CAM", FieldType::String, 20, false, {}},
      {"NOME_CAM", FieldType::String, 250, false, {}},
      {"ANO_CAM", FieldType::Integer, 0, false, {}},
      {"COD_TOM_CAM", FieldType::Integer, 0, false, {}},
      {"NATJUR_CAM", FieldType::String, 6, false, {}},
      {"CNAE_CAM", FieldType::String, 10, false, {}},
      {"DATACNPJ_CAM", FieldType::DateTime, 0, false, {}},
      {"LOGIN_INC_CAM", FieldType::String, 30, false, {}},
      {"DTA_INC_CAM", FieldType::DateTime, 0, false, {}},
      {"LOGIN_ALT_CAM", FieldType::String, 30, false, {}},
      {"DTA_ALT_CAM", FieldType::DateTime, 0, false, {}},
  };
}
