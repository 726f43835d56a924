// The registry import: one category of the older edition's tblAnagrafiche into its own
// table, skipping empty codes and codes already present.
#include "importa/Statements.h"
#include "importa/Unit1.h"

#include "platform/rtl/Exceptions.h"

// What one registry kind imports, from where to where, and what it reports.
struct TRegistryKind {
    const char* sourceRows;  // the category's rows, in the older edition's order
    const char* table;
    const char* logLine;
    const char* duplicateText;
    const char* duplicateCaption;
    bool withSecondaryNameAndWeb; // customers and suppliers
};

namespace {

const TRegistryKind kRegistryKinds[] = {
    {"select * from tblAnagrafiche where IDCategoria=1 order by IDAnagrafica", "clienti", "Importazione clienti",
     "I clienti gi\xE0 presenti in archivio non sono stati importati", "Procedura di importazione clienti", true},
    {"select * from tblAnagrafiche where IDCategoria=2 order by IDAnagrafica", "fornitori", "Importazione fornitori",
     "I fornitori gi\xE0 presenti in archivio non sono stati importati", "Procedura di importazione fornitori", true},
    {"select * from tblAnagrafiche where IDCategoria=0 order by IDAnagrafica", "collaboratori",
     "Importazione Collaboratori", "I collaboratori gi\xE0 presenti in archivio non sono stati importati",
     "Procedura di importazione Collaboratori", false},
    {"select * from tblAnagrafiche where IDCategoria=5 order by IDAnagrafica", "vettori", "Importazione Vettori",
     "I Vettori gi\xE0 presenti in archivio non sono stati importati", "Procedura di importazione Vettori", false},
    {"select * from tblAnagrafiche where IDCategoria=4 order by IDAnagrafica", "rappresentanti",
     "Importazione Rappresentanti", "I Rappresentanti gi\xE0 presenti in archivio non sono stati importati",
     "Procedura di importazione Rappresentanti", false},
    {"select * from tblAnagrafiche where IDCategoria=3 order by IDAnagrafica", "consulenti", "Importazione Consulenti",
     "I Consulenti gi\xE0 presenti in archivio non sono stati importati", "Procedura di importazione Consulenti",
     false},
};

const char* const kWideColumns = "codice,DenominazioneSecondaria,nome,indirizzo,cap,citt\xE0,prov,nazione,telefono,fax,"
                                 "cellulare,codicefiscale,partitaiva,email,web";
const char* const kNarrowColumns =
    "codice,nome,indirizzo,cap,citt\xE0,prov,nazione,telefono,fax,cellulare,codicefiscale,partitaiva,email";

struct TRegistryRow {
    AnsiString CodInterno, CognomeRS, Nome, Indirizzo, Cap, Citta, Provincia, Telefono, TeleFax, Cellulare, EMail,
        CodiceFiscale, PartitaIva, SitoWeb;
};

// The source fields a registry row is made of.
const char* const kRegistryFields[] = {"sCodInterno", "sCognomeRS", "sNome", "sIndirizzo", "sCap", "sCitta",
                                       "sProvincia", "sTelefono", "sTeleFax", "sCellulare", "sEMail",
                                       "sCodiceFiscale", "sPartitaIva", "sSitoWeb"};

TRegistryRow ReadRegistryRow(TQuery* source)
{
    TRegistryRow r;
    r.CodInterno = FieldText(source, "sCodInterno");
    r.CognomeRS = FieldText(source, "sCognomeRS");
    r.Nome = FieldText(source, "sNome");
    r.Indirizzo = FieldText(source, "sIndirizzo");
    r.Cap = FieldText(source, "sCap");
    r.Citta = FieldText(source, "sCitta");
    r.Provincia = FieldText(source, "sProvincia");
    r.Telefono = FieldText(source, "sTelefono");
    r.TeleFax = FieldText(source, "sTeleFax");
    r.Cellulare = FieldText(source, "sCellulare");
    r.EMail = FieldText(source, "sEMail");
    r.CodiceFiscale = FieldText(source, "sCodiceFiscale");
    r.PartitaIva = FieldText(source, "sPartitaIva");
    r.SitoWeb = FieldText(source, "sSitoWeb");
    return r;
}

// Apostrophes become grave accents and commas blanks (or nothing, in addresses on the net),
// as the current edition's stored codes expect.
void MakeRegistryRowSafe(TRegistryRow& r)
{
    for (AnsiString* text : {&r.CodInterno, &r.CognomeRS, &r.Nome, &r.Citta, &r.Indirizzo}) {
        ReplaceChar(*text, '\'', '`');
        ReplaceChar(*text, ',', ' ');
    }
    for (AnsiString* text : {&r.EMail, &r.SitoWeb}) {
        ReplaceChar(*text, '\'', '`');
        DropChar(*text, ',');
    }
}

AnsiString RegistryInsert(const TRegistryKind& kind, const TRegistryRow& r)
{
    const AnsiString values =
        kind.withSecondaryNameAndWeb
            ? QuotedList({r.CodInterno, r.CognomeRS, r.Nome, r.Indirizzo, r.Cap, r.Citta, r.Provincia, "", r.Telefono,
                          r.TeleFax, r.Cellulare, r.CodiceFiscale, r.PartitaIva, r.EMail, r.SitoWeb})
            : QuotedList({r.CodInterno, r.Nome, r.Indirizzo, r.Cap, r.Citta, r.Provincia, "", r.Telefono, r.TeleFax,
                          r.Cellulare, r.CodiceFiscale, r.PartitaIva, r.EMail});
    return AnsiString("insert into ") + kind.table + " (" +
           (kind.withSecondaryNameAndWeb ? kWideColumns : kNarrowColumns) + ") values(" + values + ")";
}

} // namespace

void TForm1::ImportRegistry(int kind)
{
    if (kind < 1 || kind > 6)
        throw EInvalidOperation("Registry kind out of range");
    const TRegistryKind& k = kRegistryKinds[kind - 1];
    bool duplicate = false;
    // The category's rows go into one batch, committed at its end; a failure commits
    // the rows before it, then goes on to the start handler.
    InOneBatch(Database1, [&] { ImportRegistryRows(k, duplicate); });
    WorkerDone(k.logLine);
    if (duplicate)
        Application->MessageBox(k.duplicateText, k.duplicateCaption, 0);
}

void TForm1::ImportRegistryRows(const TRegistryKind& k, bool& duplicate)
{
    OpenStatement(Query2, k.sourceRows);
    if (!Query2->IsEmpty()) {
        Query2->First();
        while (!Query2->Eof()) {
            ReportChangedText(Query2, k.table, "sCodInterno", kRegistryFields);
            TRegistryRow row = ReadRegistryRow(Query2);
            MakeRegistryRowSafe(row);
            if (!row.CodInterno.IsEmpty()) {
                OpenStatement(Query1, AnsiString("select codice from ") + k.table + " where codice=" +
                                          Quoted(row.CodInterno));
                if (Query1->IsEmpty()) {
                    Query1->Close();
                    WriteRow(k.table, FieldUtf8(Query2, "sCodInterno"),
                             [&] { RunStatement(Query1, RegistryInsert(k, row)); });
                } else {
                    duplicate = true;
                }
            }
            Query2->Next();
        }
    }
    Query2->Close();
}
