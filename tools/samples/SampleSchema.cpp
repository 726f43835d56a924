#include "tools/samples/SampleSchema.h"

const std::vector<const char*>& SourceSchema()
{
    static const std::vector<const char*> schema = {
        "CREATE TABLE tblanagraficaditta (IDDitta COUNTER, sCognomeRS TEXT(100), sIndirizzo TEXT(100), "
        "sCitta TEXT(50), sNazione TEXT(50), sCap TEXT(10), sProvincia TEXT(5), sPartitaiva TEXT(20), "
        "sCodicefiscale TEXT(20), sTelefono TEXT(30), sCellulare TEXT(30), sTelefax TEXT(30), sCCIAA TEXT(30), "
        "sEmail TEXT(100), sSitoWeb TEXT(100))",
        "CREATE TABLE tblAnagrafiche (IDAnagrafica COUNTER, IDCategoria LONG, sCodInterno TEXT(20), "
        "sCognomeRS TEXT(100), sNome TEXT(50), sIndirizzo TEXT(100), sCap TEXT(10), sCitta TEXT(50), "
        "sProvincia TEXT(5), sTelefono TEXT(30), sTeleFax TEXT(30), sCellulare TEXT(30), sEMail TEXT(100), "
        "sCodiceFiscale TEXT(20), sPartitaIva TEXT(20), sSitoWeb TEXT(100), sNote MEMO)",
        "CREATE TABLE tblUnitaDiMisura (IDUnitaDiMisura COUNTER, sDescrizione TEXT(50), sAbbreviazione TEXT(10))",
        "CREATE TABLE tblArticoli (IDArticolo COUNTER, sCodInterno TEXT(30), sDescrizione TEXT(100), sNote MEMO, "
        "IDUnitaDiMisura LONG, cPrezzo CURRENCY)",
        "CREATE TABLE tblMagazzino (IDMagazzino COUNTER, idarticolo LONG, iQtaDisp1 DOUBLE, iQtaDisp2 DOUBLE, "
        "iQtaDisp3 DOUBLE, iScortaMinima DOUBLE, iScortaAllarme DOUBLE)",
        "CREATE INDEX tblMagazzino_articolo ON tblMagazzino (idarticolo)",
    };
    return schema;
}

const std::vector<const char*>& DataFolderSchema()
{
    static const std::vector<const char*> schema = {
        "CREATE TABLE 'studio.db' (id AUTOINC, denominazioneA CHAR(100), indirizzo CHAR(100), cap CHAR(10), "
        "citt\xE0 CHAR(50), prov CHAR(5), nazione CHAR(50), telefono1 CHAR(30), cellulare CHAR(30), fax CHAR(30), "
        "codicefiscale CHAR(20), partitaiva CHAR(20), numeroCIAA CHAR(30), email CHAR(100), Paginaweb CHAR(100))",
        "CREATE TABLE 'clienti.db' (id AUTOINC, codice CHAR(20), DenominazioneSecondaria CHAR(100), nome CHAR(50), "
        "indirizzo CHAR(100), cap CHAR(10), citt\xE0 CHAR(50), prov CHAR(5), nazione CHAR(50), telefono CHAR(30), "
        "fax CHAR(30), cellulare CHAR(30), codicefiscale CHAR(20), partitaiva CHAR(20), email CHAR(100), "
        "web CHAR(100), fido MONEY)",
        "CREATE TABLE 'fornitori.db' (id AUTOINC, codice CHAR(20), DenominazioneSecondaria CHAR(100), "
        "nome CHAR(50), indirizzo CHAR(100), cap CHAR(10), citt\xE0 CHAR(50), prov CHAR(5), nazione CHAR(50), "
        "telefono CHAR(30), fax CHAR(30), cellulare CHAR(30), codicefiscale CHAR(20), partitaiva CHAR(20), "
        "email CHAR(100), web CHAR(100))",
        "CREATE TABLE 'collaboratori.db' (id AUTOINC, codice CHAR(20), nome CHAR(50), indirizzo CHAR(100), "
        "cap CHAR(10), citt\xE0 CHAR(50), prov CHAR(5), nazione CHAR(50), telefono CHAR(30), fax CHAR(30), "
        "cellulare CHAR(30), codicefiscale CHAR(20), partitaiva CHAR(20), email CHAR(100), provvigione FLOAT)",
        "CREATE TABLE 'vettori.db' (id AUTOINC, codice CHAR(20), nome CHAR(50), indirizzo CHAR(100), cap CHAR(10), "
        "citt\xE0 CHAR(50), prov CHAR(5), nazione CHAR(50), telefono CHAR(30), fax CHAR(30), cellulare CHAR(30), "
        "codicefiscale CHAR(20), partitaiva CHAR(20), email CHAR(100), albo CHAR(30))",
        "CREATE TABLE 'rappresentanti.db' (id AUTOINC, codice CHAR(20), nome CHAR(50), indirizzo CHAR(100), "
        "cap CHAR(10), citt\xE0 CHAR(50), prov CHAR(5), nazione CHAR(50), telefono CHAR(30), fax CHAR(30), "
        "cellulare CHAR(30), codicefiscale CHAR(20), partitaiva CHAR(20), email CHAR(100), provvigione FLOAT)",
        "CREATE TABLE 'consulenti.db' (id AUTOINC, codice CHAR(20), nome CHAR(50), indirizzo CHAR(100), "
        "cap CHAR(10), citt\xE0 CHAR(50), prov CHAR(5), nazione CHAR(50), telefono CHAR(30), fax CHAR(30), "
        "cellulare CHAR(30), codicefiscale CHAR(20), partitaiva CHAR(20), email CHAR(100), specializzazione CHAR(50))",
        "CREATE TABLE 'articoli.db' (id AUTOINC, codice CHAR(30), codiceinterno CHAR(30), descrizione CHAR(50), "
        "note CHAR(255), UM CHAR(10), aliquotaiva SMALLINT, costo MONEY)",
        "CREATE TABLE 'magazzini.db' (id AUTOINC, nome CHAR(50), indirizzo CHAR(100))",
        "CREATE TABLE 'giacenze.db' (id AUTOINC, idarticolo INTEGER, idmagazzino INTEGER, giacenza FLOAT, "
        "GiacenzaMin FLOAT, LivelloRiordino FLOAT)",
        "CREATE TABLE 'listini.db' (id AUTOINC, nome CHAR(50), ivainclusa LOGICAL)",
        "CREATE TABLE 'righelistino.db' (id AUTOINC, idlistino INTEGER, idarticolo INTEGER, Codice CHAR(30), "
        "Descrizione CHAR(50), costo MONEY, sconto FLOAT, ricarico FLOAT, prezzo MONEY)",
        "CREATE TABLE 'documenti.db' (id AUTOINC, numero INTEGER, data DATE, idcliente INTEGER, totale MONEY)",
        "CREATE TABLE 'DDT.db' (id AUTOINC, numero INTEGER, data DATE, idcliente INTEGER, idvettore INTEGER, "
        "colli SMALLINT, totale MONEY)",
        "CREATE TABLE 'ordini.db' (id AUTOINC, numero INTEGER, data DATE, idfornitore INTEGER, totale MONEY)",
        "CREATE TABLE 'ordinicli.db' (id AUTOINC, numero INTEGER, data DATE, idcliente INTEGER, totale MONEY)",
        "CREATE TABLE 'preventivi.db' (id AUTOINC, numero INTEGER, data DATE, idcliente INTEGER, totale MONEY)",
        "CREATE TABLE 'ricfisc.db' (id AUTOINC, numero INTEGER, data DATE, idcliente INTEGER, totale MONEY)",
        "CREATE TABLE 'notecredito.db' (id AUTOINC, numero INTEGER, data DATE, idcliente INTEGER, totale MONEY)",
        "CREATE TABLE 'fattpf.db' (id AUTOINC, numero INTEGER, data DATE, idcliente INTEGER, totale MONEY)",
        // Secondary indexes on what the import looks up row by row.
        "CREATE INDEX clienti_codice ON 'clienti.db' (codice)",
        "CREATE INDEX fornitori_codice ON 'fornitori.db' (codice)",
        "CREATE INDEX collaboratori_codice ON 'collaboratori.db' (codice)",
        "CREATE INDEX vettori_codice ON 'vettori.db' (codice)",
        "CREATE INDEX rappresentanti_codice ON 'rappresentanti.db' (codice)",
        "CREATE INDEX consulenti_codice ON 'consulenti.db' (codice)",
        "CREATE INDEX articoli_codice ON 'articoli.db' (codice)",
        "CREATE INDEX articoli_codiceinterno ON 'articoli.db' (codiceinterno)",
        "CREATE INDEX giacenze_articolo ON 'giacenze.db' (idarticolo, idmagazzino)",
        "CREATE INDEX righelistino_articolo ON 'righelistino.db' (idarticolo)",
    };
    return schema;
}

const std::vector<const char*>& ReportSchema()
{
    static const std::vector<const char*> schema = {
        "CREATE TABLE [DDT-Intestazione] (ID COUNTER, Numero LONG, Data DATETIME, RagioneSociale TEXT(100), "
        "Indirizzo TEXT(100), Totale CURRENCY)",
        "CREATE TABLE [Fattura-Intestazione] (ID COUNTER, Numero LONG, Data DATETIME, RagioneSociale TEXT(100), "
        "Indirizzo TEXT(100), Totale CURRENCY)",
        "CREATE TABLE [Nota di credito-Intestazione] (ID COUNTER, Numero LONG, Data DATETIME, "
        "RagioneSociale TEXT(100), Indirizzo TEXT(100), Totale CURRENCY)",
        "CREATE TABLE [Ordine Cliente-Intestazione] (ID COUNTER, Numero LONG, Data DATETIME, "
        "RagioneSociale TEXT(100), Indirizzo TEXT(100), Totale CURRENCY)",
        "CREATE TABLE [Ordine Fornitore-Intestazione] (ID COUNTER, Numero LONG, Data DATETIME, "
        "RagioneSociale TEXT(100), Indirizzo TEXT(100), Totale CURRENCY)",
        "CREATE TABLE [Preventivo-Intestazione] (ID COUNTER, Numero LONG, Data DATETIME, RagioneSociale TEXT(100), "
        "Indirizzo TEXT(100), Totale CURRENCY)",
        "CREATE TABLE [Ricevuta Fiscale-Intestazione] (ID COUNTER, Numero LONG, Data DATETIME, "
        "RagioneSociale TEXT(100), Indirizzo TEXT(100), Totale CURRENCY)",
    };
    return schema;
}
