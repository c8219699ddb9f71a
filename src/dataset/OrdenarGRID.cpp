#include "dataset/OrdenarGRID.h"

#include <exception>

#include "common/Dialogs.h"
#include "common/funcoes.h"
#include "dataset/ClientDataSet.h"
#include "dataset/DataSource.h"

namespace {

const QString kAgregado = QStringLiteral("Campos do tipo agregado não podem ser Ordenados.");
const QString kVinculoCorreto = QStringLiteral(
    "Esta Grade não poderá ser ordenada corretamente por causa de restrições ou vinculo com "
    "outras tabelas.");
const QString kVinculo = QStringLiteral(
    "Esta Grade não poderá ser ordenada por causa de restrições ou vinculo com outras tabelas.");

QString asc(const QString& Campo) {
  return "idx" + Campo + "Asc";
}
QString dec(const QString& Campo) {
  return "idx" + Campo + "Dec";
}

// Leaves the set with the pair for Campo and the ascending one active; on failure, with no
// definitions at all.
void AdicionaIndice(ClientDataSet& set, const QString& Campo) {
  try {
    set.clearIndexDefs();
    set.addIndexDef(asc(Campo), Campo, false);
    set.addIndexDef(dec(Campo), Campo, true);
    set.setActiveIndex(asc(Campo));
  } catch (const std::exception&) {
    dialogs::ShowWarning(kVinculo);
    set.clearIndexDefs();
  }
}

}  // namespace

void OrdenarGRID(ClientDataSet* cds, DataSource* ds, const QString& Column) {
  if (cds != nullptr &&
      (cds->state() == DataSetState::Edit || cds->state() == DataSetState::Insert)) {
    return;
  }
  if (ds == nullptr || ds->dataSet() == nullptr || !ds->dataSet()->active()) return;
  ClientDataSet& set = *ds->dataSet();
  try {
    ds->UpdateRecord();
    const FieldDef& varField = set.fields()[set.fieldIndex(Column)];
    if (!Empty(varField.lookupKeyFields) || varField.type == FieldType::Blob) {
      dialogs::ShowWarning(kAgregado);
      return;
    }
    if (!Empty(set.masterFields())) {
      dialogs::ShowWarning(kVinculoCorreto);
      return;
    }
    if (set.indexDefCount() > 0) {
      if (set.activeIndex().isEmpty()) AdicionaIndice(set, Column);
      const IndexDef& ativo = set.indexDef(set.activeIndex());
      if (ativo.fields == Column) {
        set.setActiveIndex(ativo.descending ? asc(Column) : dec(Column));
      } else {
        AdicionaIndice(set, Column);
      }
    } else {
      // An empty field-list order and one naming another field both start ascending. Read it
      // first: activating an index replaces it.
      const bool jaPorCampo = set.indexFieldNames() == Column;
      AdicionaIndice(set, Column);
      if (jaPorCampo) set.setActiveIndex(dec(Column));
    }
    set.first();
  } catch (const std::exception&) {
    dialogs::ShowWarning(kVinculo);
    set.clearIndexDefs();
  }
}
