#pragma once

#include <vector>

#include "dataset/FieldDef.h"

// The thirteen columns of GR_CONTRIB_CAMPANHA in table order, with the program's own widths.
// COD_CAM is required in the write-path cache only.
std::vector<FieldDef> ContributorFields(bool codCamRequired);

// Where each column stands among them, for work that sets columns line after line.
namespace contributor {
enum Column : int {
  COD_CAM,
  TIPO_CAM,
  CNPJ_CAM,
  NOME_CAM,
  ANO_CAM,
  COD_TOM_CAM,
  NATJUR_CAM,
  CNAE_CAM,
  DATACNPJ_CAM,
  LOGIN_INC_CAM,
  DTA_INC_CAM,
  LOGIN_ALT_CAM,
  DTA_ALT_CAM,
};
}  // namespace contributor
