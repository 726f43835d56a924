// The sample databases: a small edition 4 source with the awkward cases an import meets
// (apostrophes, commas, empty and repeated codes, descriptions longer than the target
// column, decimal stock quantities), the edition 5 data folder ready to receive it, and the
// report database. A large source for the benchmark has N generated rows per registry
// category and N articles.
#pragma once

#include <string>

class DbiConnection;

struct SampleOptions {
    int registryRows = 0; // per category; 0 writes the small hand-written set
    int articles = 0;     // 0 writes the small hand-written set
};

// Fill a new, empty database of each kind.
void FillSourceDatabase(DbiConnection& db, const SampleOptions& options);
void FillDataFolder(DbiConnection& db);
void FillReportDatabase(DbiConnection& db);

// Writes root/dbVendaroBase4.mdb, root/Dati/tables.sqlite3 and
// root/ComponenteStampa/RPTDATA.mdb (host paths), making the folders. An existing sample
// file is replaced only when 'replace' is set; otherwise it raises EDbiError and nothing
// is written.
void MakeSamples(const std::string& root, const SampleOptions& options, bool replace);
