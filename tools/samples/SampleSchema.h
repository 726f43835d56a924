// Table definitions of the three sample databases, as the drivers' own CREATE TABLE text.
#pragma once

#include <vector>

// Edition 4 source, Access: tblanagraficaditta, tblAnagrafiche, tblArticoli,
// tblUnitaDiMisura, tblMagazzino.
const std::vector<const char*>& SourceSchema();
// Edition 5 data folder "Dati", Paradox: company data, the six registries, articles with
// stock and price-list rows, warehouses, price lists and the eight document headers.
const std::vector<const char*>& DataFolderSchema();
// Report database "ComponenteStampa\RPTDATA.mdb", Access: the seven document header tables.
const std::vector<const char*>& ReportSchema();
