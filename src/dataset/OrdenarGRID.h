#pragma once

#include <QString>

class ClientDataSet;
class DataSource;

// Sorts the set of ds by the clicked column's field: ascending on the first click, then
// alternating; another column starts ascending again. Does nothing while cds has a started row
// or while ds shows no open set. Refusals and failures are shown as warnings, never thrown.
void OrdenarGRID(ClientDataSet* cds, DataSource* ds, const QString& Column);
