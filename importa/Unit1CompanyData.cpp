// The company-data import: the first row of the older edition's tblanagraficaditta
// replaces the current edition's row of the firm's own data.
#include "importa/Statements.h"
#include "importa/Unit1.h"

namespace {

// The source fields of the firm's data.
const char* const kCompanyFields[] = {"sCognomeRS", "sIndirizzo", "sCitta", "sNazione", "sCap",
                                      "sProvincia", "sPartitaiva", "sCodicefiscale", "sTelefono", "sCellulare",
                                      "sTelefax", "sCCIAA", "sEmail", "sSitoWeb"};

} // namespace

void TForm1::ImportCompanyData()
{
    OpenStatement(Query2, "select * from tblanagraficaditta");
    if (!Query2->IsEmpty()) {
        Query2->First();
        // The firm's one row has no code.
        ReportChangedText(Query2, "studio", nullptr, kCompanyFields);
        AnsiString cognomeRS = FieldText(Query2, "sCognomeRS");
        AnsiString indirizzo = FieldText(Query2, "sIndirizzo");
        AnsiString citta = FieldText(Query2, "sCitta");
        const AnsiString nazione = FieldText(Query2, "sNazione");
        const AnsiString cap = FieldText(Query2, "sCap");
        const AnsiString provincia = FieldText(Query2, "sProvincia");
        const AnsiString partitaIva = FieldText(Query2, "sPartitaiva");
        const AnsiString codiceFiscale = FieldText(Query2, "sCodicefiscale");
        const AnsiString telefono = FieldText(Query2, "sTelefono");
        const AnsiString cellulare = FieldText(Query2, "sCellulare");
        const AnsiString telefax = FieldText(Query2, "sTelefax");
        AnsiString cciaa = FieldText(Query2, "sCCIAA");
        AnsiString email = FieldText(Query2, "sEmail");
        AnsiString sitoWeb = FieldText(Query2, "sSitoWeb");

        for (AnsiString* text : {&cognomeRS, &citta})
            *text = ReplaceAll(ReplaceAll(*text, "'", "`"), ",", " ");
        indirizzo = ReplaceAll(ReplaceAll(indirizzo, ",", " "), "'", "`");
        for (AnsiString* text : {&cciaa, &email, &sitoWeb})
            *text = ReplaceAll(ReplaceAll(*text, "'", "`"), ",", "");

        const AnsiString insert =
            "insert into studio (denominazioneA,indirizzo,cap,citt\xE0,prov,nazione,telefono1,cellulare,fax,"
            "codicefiscale,partitaiva,numeroCIAA,email,Paginaweb) values(" +
            QuotedList({cognomeRS, indirizzo, cap, citta, provincia, nazione, telefono, cellulare, telefax,
                        codiceFiscale, partitaIva, cciaa, email, sitoWeb}) +
            ")";
        // The old row goes only when the new one is written: the firm's data is never lost.
        InOneTransaction(Database1, [&] {
            RunStatement(Query1, "delete from studio");
            RunStatement(Query1, insert);
        });
    }
    Query2->Close();
    WorkerDone("Importazione dati Ditta");
}
