#pragma once

#include <vector>

#include "dataset/FieldDef.h"

// The thirteen columns of GR_CONTRIB_CAMPANHA in table order, with the program's own widths.
// COD_CAM is required in the write-path cache only.
std::vector<FieldDef> ContributorFields(bool codCamRequired);
