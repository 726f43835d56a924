// The two programs' statements, as they send them, against the sample databases through
// the class library's database and query components.
#include "platform/classlib/DBTables.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/StrUtils.h"
#include "tests/platform/dbengine/TempFolder.h"
#include "tools/samples/SampleData.h"

#include <gtest/gtest.h>

namespace {

void Exec(TQuery& q, const AnsiString& text)
{
    q.SQL()->Clear();
    q.SQL()->Add(text);
    q.ExecSQL();
}

void OpenQuery(TQuery& q, const AnsiString& text)
{
    q.SQL()->Clear();
    q.SQL()->Add(text);
    q.Open();
}

AnsiString Safe(AnsiString s, std::initializer_list<std::pair<const char*, const char*>> steps)
{
    for (const auto& [from, to] : steps)
        s = StringReplace(s, from, to, {rfReplaceAll});
    return s;
}

const char* const kUpgrade[] = {
    "ALTER TABLE 'clienti.db' ADD CheckA SMALLINT",
    "ALTER TABLE 'documenti.db' ADD CheckA SMALLINT, ADD Ritenuta MONEY",
    "ALTER TABLE 'DDT.db' ADD CheckA SMALLINT, ADD Ritenuta MONEY",
    "ALTER TABLE 'ordini.db' ADD CheckA SMALLINT, ADD Ritenuta MONEY",
    "ALTER TABLE 'ordinicli.db' ADD CheckA SMALLINT, ADD Ritenuta MONEY",
    "ALTER TABLE 'preventivi.db' ADD CheckA SMALLINT, ADD Ritenuta MONEY",
    "ALTER TABLE 'ricfisc.db' ADD CheckA SMALLINT, ADD Ritenuta MONEY",
    "ALTER TABLE 'notecredito.db' ADD CheckA SMALLINT, ADD Ritenuta MONEY",
    "ALTER TABLE 'fattpf.db' ADD CheckA SMALLINT, ADD Ritenuta MONEY",
    "update clienti set CheckA = 0",
    "update documenti set CheckA = 0, ritenuta = 0",
    "update fattpf set CheckA = 0, ritenuta = 0",
    "update ordini set CheckA = 0, ritenuta = 0",
    "update ordinicli set CheckA = 0, ritenuta = 0",
    "update preventivi set CheckA = 0, ritenuta = 0",
    "update ricfisc set CheckA = 0, ritenuta = 0",
    "update notecredito set CheckA = 0, ritenuta = 0",
    "update ddt set CheckA = 0, ritenuta = 0",
    "ALTER TABLE [DDT-Intestazione] ADD COLUMN Ritenuta TEXT (255)",
    "ALTER TABLE [Fattura-Intestazione] ADD COLUMN Ritenuta TEXT (255)",
    "ALTER TABLE [Nota di credito-Intestazione] ADD COLUMN Ritenuta TEXT (255)",
    "ALTER TABLE [Ordine Cliente-Intestazione] ADD COLUMN Ritenuta TEXT (255)",
    "ALTER TABLE [Ordine Fornitore-Intestazione] ADD COLUMN Ritenuta TEXT (255)",
    "ALTER TABLE [Preventivo-Intestazione] ADD COLUMN Ritenuta TEXT (255)",
    "ALTER TABLE [Ricevuta Fiscale-Intestazione] ADD COLUMN Ritenuta TEXT (255)",
};

// The samples under drive C:, so the programs' Windows-form paths reach them.
class ProgramStatements : public ::testing::Test {
protected:
    ProgramStatements()
    {
        MakeSamples(root.Path().string(), {}, false);
        FileSystem::SetDriveRoot('C', root.Path().string());
    }
    ~ProgramStatements() override { FileSystem::Reset(); }

    TempFolder root;
};

class UpgradeStatements : public ProgramStatements {
protected:
    UpgradeStatements()
    {
        data.SetDatabaseName("VenDar5");
        data.SetDriverName("STANDARD");
        data.Params()->Add("PATH=C:\\Dati");
        report.SetDatabaseName("SVenDar5");
        report.SetDriverName("MSACCESS");
        report.SetLoginPrompt(false);
        report.Params()->Add("DATABASE NAME=C:\\ComponenteStampa\\RPTDATA.mdb");
        report.Params()->Add("OPEN MODE=READ/WRITE");
        query1.SetDatabaseName("VenDar5");
        query1.SetRequestLive(true);
        query2.SetDatabaseName("SVenDar5");
        query2.SetRequestLive(true);
        data.SetConnected(true);
        report.Open();
    }
    // Runs the list; the number of statements that ran.
    int RunList()
    {
        int done = 0;
        for (const char* statement : kUpgrade) {
            Exec(done < 18 ? query1 : query2, statement);
            ++done;
        }
        return done;
    }

    TDatabase data{nullptr}, report{nullptr};
    TQuery query1{nullptr}, query2{nullptr};
};

TEST_F(UpgradeStatements, RunOnceAndRefuseASecondRunAtTheFirstStatement)
{
    EXPECT_EQ(RunList(), 25);
    for (const char* table : {"documenti", "DDT", "ordini", "ordinicli", "preventivi", "ricfisc", "notecredito", "fattpf"}) {
        OpenQuery(query1, AnsiString("select CheckA, Ritenuta from ") + table);
        ASSERT_FALSE(query1.IsEmpty()) << table;
        EXPECT_EQ(query1.FieldByName("CheckA")->AsString(), "0") << table;
        EXPECT_EQ(query1.FieldByName("Ritenuta")->AsString(), "0") << table;
        EXPECT_EQ(query1.FieldByName("Ritenuta")->DataType(), ftCurrency);
    }
    OpenQuery(query2, "select Ritenuta from [Ricevuta Fiscale-Intestazione]");
    EXPECT_TRUE(query2.FieldByName("Ritenuta")->IsNull());
    EXPECT_EQ(query2.FieldByName("Ritenuta")->Size(), 255);
    query1.Close();
    query2.Close();

    try {
        RunList();
        FAIL() << "a second upgrade ran";
    } catch (const EDBEngineError& e) {
        EXPECT_NE(e.Message().str().find("CheckA"), std::string::npos) << e.Message().str();
    }
}

TEST_F(UpgradeStatements, ReportWithoutHeaderTablesStopsAfterTheDataStatements)
{
    Exec(query2, "DROP TABLE [DDT-Intestazione]");
    int done = 0;
    EXPECT_THROW(
        {
            for (const char* statement : kUpgrade) {
                Exec(done < 18 ? query1 : query2, statement);
                ++done;
            }
        },
        EDBEngineError);
    EXPECT_EQ(done, 18);
    OpenQuery(query1, "select CheckA from clienti");
    EXPECT_EQ(query1.FieldByName("CheckA")->DataType(), ftSmallint);
}

class ImportStatements : public ProgramStatements {
protected:
    ImportStatements()
    {
        target.SetDatabaseName("PVenDar5");
        target.SetDriverName("STANDARD");
        target.Params()->Add("PATH=C:\\Dati");
        source.SetDatabaseName("PVenDar4");
        source.SetDriverName("MSACCESS");
        source.SetKeepConnection(false);
        source.SetLoginPrompt(false);
        source.SetReadOnly(true);
        source.Params()->Add("DATABASE NAME=C:\\dbVendaroBase4.mdb");
        source.Params()->Add("OPEN MODE=READ/WRITE");
        for (TQuery* q : {&query1, &query3})
            q->SetDatabaseName("PVenDar5");
        for (TQuery* q : {&query2, &query4})
            q->SetDatabaseName("PVenDar4");
        source.Open();
    }
    AnsiString Field(TQuery& q, const char* name) { return q.FieldByName(name)->AsString(); }

    // The registry import loop of one category; true when a code was already present.
    bool ImportRegistry(int category, const AnsiString& table)
    {
        const bool full = category == 1 || category == 2; // customers and suppliers keep two more columns
        bool dup = false;
        OpenQuery(query2, "select * from tblAnagrafiche where IDCategoria=" + AnsiString(std::to_string(category)) +
                              " order by IDAnagrafica");
        if (!query2.IsEmpty()) {
            query2.First();
            while (!query2.Eof()) {
                const auto quoteComma = {std::pair{"'", "`"}, std::pair{",", " "}};
                const AnsiString code = Safe(Field(query2, "sCodInterno"), quoteComma);
                const AnsiString rs = Safe(Field(query2, "sCognomeRS"), quoteComma);
                const AnsiString name = Safe(Field(query2, "sNome"), quoteComma);
                const AnsiString city = Safe(Field(query2, "sCitta"), quoteComma);
                const AnsiString address = Safe(Field(query2, "sIndirizzo"), {std::pair{",", " "}, std::pair{"'", "`"}});
                const AnsiString email = Safe(Field(query2, "sEMail"), {std::pair{"'", "`"}, std::pair{",", ""}});
                const AnsiString web = Safe(Field(query2, "sSitoWeb"), {std::pair{"'", "`"}, std::pair{",", ""}});
                if (!code.IsEmpty()) {
                    OpenQuery(query1, "select codice from " + table + " where codice='" + code + "'");
                    if (query1.IsEmpty()) {
                        query1.Close();
                        Exec(query1, "insert into " + table + " (codice," + (full ? "DenominazioneSecondaria," : "") +
                                         "nome,indirizzo,cap,citt\xE0,prov,nazione,telefono,fax,cellulare,codicefiscale,"
                                         "partitaiva,email" + (full ? ",web" : "") + ") values('" + code + "','" +
                                         (full ? rs + "','" : AnsiString()) + name + "','" + address + "','" +
                                         Field(query2, "sCap") + "','" + city + "','" + Field(query2, "sProvincia") +
                                         "','','" + Field(query2, "sTelefono") + "','" + Field(query2, "sTeleFax") +
                                         "','" + Field(query2, "sCellulare") + "','" + Field(query2, "sCodiceFiscale") +
                                         "','" + Field(query2, "sPartitaIva") + "','" + email + "'" +
                                         (full ? ",'" + web + "'" : AnsiString()) + ")");
                    } else {
                        dup = true;
                    }
                }
                query2.Next();
            }
        }
        query2.Close();
        return dup;
    }
    bool ImportCustomers() { return ImportRegistry(1, "clienti"); }

    TDatabase target{nullptr}, source{nullptr};
    TQuery query1{nullptr}, query2{nullptr}, query3{nullptr}, query4{nullptr};
};

TEST_F(ImportStatements, CustomersArriveOnceWithTheirTextIntact)
{
    EXPECT_TRUE(ImportCustomers()); // C001 stands twice in the source
    EXPECT_FALSE(source.Connected());
    OpenQuery(query1, "select codice, indirizzo, citt\xE0, DenominazioneSecondaria, email from clienti order by id");
    std::vector<std::string> codes;
    for (query1.First(); !query1.Eof(); query1.Next())
        codes.push_back(Field(query1, "codice").str());
    EXPECT_EQ(codes, (std::vector<std::string>{"C001", "C002", "C003", "C`05"}));
    query1.First();
    EXPECT_EQ(Field(query1, "indirizzo"), "Via Roma  12");
    query1.Next();
    EXPECT_EQ(Field(query1, "DenominazioneSecondaria"), "D`Angelo Ferramenta S.r.l.");
    query1.Next();
    EXPECT_EQ(Field(query1, "citt\xE0"), "Forl\xEC");
    EXPECT_EQ(Field(query1, "email"), "info@bianchifigli.example.it");
    query1.Close();
    EXPECT_TRUE(ImportCustomers()); // a second run finds every code present
    OpenQuery(query1, "select count(*) as n from clienti");
    EXPECT_EQ(Field(query1, "n"), "4");
}

TEST_F(ImportStatements, EveryCategoryFitsItsTable)
{
    const std::pair<int, const char*> kinds[] = {{2, "fornitori"},      {0, "collaboratori"}, {5, "vettori"},
                                                 {4, "rappresentanti"}, {3, "consulenti"}};
    for (const auto& [category, table] : kinds) {
        EXPECT_FALSE(ImportRegistry(category, table)) << table;
        OpenQuery(query4, "select count(*) as n from tblAnagrafiche where IDCategoria=" +
                              AnsiString(std::to_string(category)));
        OpenQuery(query1, AnsiString("select count(*) as n from ") + table);
        EXPECT_EQ(Field(query1, "n"), Field(query4, "n")) << table;
        EXPECT_NE(Field(query1, "n"), "0") << table;
        query1.Close();
        query4.Close();
    }
}

TEST_F(ImportStatements, CompanyDataReplacesTheStudioRow)
{
    OpenQuery(query2, "select * from tblanagraficaditta");
    ASSERT_FALSE(query2.IsEmpty());
    query2.First();
    const AnsiString rs = Safe(Field(query2, "sCognomeRS"), {std::pair{"'", "`"}, std::pair{",", " "}});
    const AnsiString address = Safe(Field(query2, "sIndirizzo"), {std::pair{",", " "}, std::pair{"'", "`"}});
    Exec(query1, "delete from studio");
    Exec(query1, "insert into studio (denominazioneA,indirizzo,cap,citt\xE0,prov,nazione,telefono1,cellulare,fax,"
                 "codicefiscale,partitaiva,numeroCIAA,email,Paginaweb) values('" + rs + "','" + address + "','" +
                     Field(query2, "sCap") + "','" + Field(query2, "sCitta") + "','" + Field(query2, "sProvincia") +
                     "','" + Field(query2, "sNazione") + "','" + Field(query2, "sTelefono") + "','" +
                     Field(query2, "sCellulare") + "','" + Field(query2, "sTelefax") + "','" +
                     Field(query2, "sCodicefiscale") + "','" + Field(query2, "sPartitaiva") + "','" +
                     Field(query2, "sCCIAA") + "','" + Field(query2, "sEmail") + "','" + Field(query2, "sSitoWeb") + "')");
    query2.Close();
    OpenQuery(query1, "select * from studio");
    EXPECT_EQ(query1.RecordCount(), 1);
    EXPECT_EQ(Field(query1, "denominazioneA"), "Ferramenta dell`Orso di Colombo Andrea");
    EXPECT_EQ(Field(query1, "indirizzo"), "Via San Martino  8");
}

TEST_F(ImportStatements, ArticleStatementsWriteStockAndPriceListRows)
{
    OpenQuery(query2, "select * from tblArticoli order by idarticolo");
    query2.First();
    const AnsiString id = Field(query2, "IDArticolo");
    const AnsiString code = Safe(Field(query2, "sCodInterno"), {std::pair{"'", "`"}, std::pair{",", " "}});
    const AnsiString description = Safe(Copy(Field(query2, "sDescrizione"), 1, 50), {std::pair{"'", "`"}, std::pair{",", " "}});
    const AnsiString note = Safe(Field(query2, "sNote"), {std::pair{"'", "`"}, std::pair{",", " "}, std::pair{":", " "}});
    OpenQuery(query4, "select * from tblUnitaDiMisura where IDUnitaDiMisura=" + Field(query2, "IDUnitaDiMisura"));
    query4.First();
    const AnsiString um = Field(query4, "sAbbreviazione");
    query4.Close();
    OpenQuery(query1, "select codice from articoli where codice='" + code + "'");
    EXPECT_TRUE(query1.IsEmpty());
    query1.Close();
    Exec(query1, "insert into articoli (codice,codiceinterno,descrizione,note,UM) values('" + id + "','" + code +
                     "','" + description + "','" + note + "','" + um + "')");
    OpenQuery(query1, "select id from articoli where codiceinterno='" + code + "'");
    query1.First();
    const AnsiString newId = Field(query1, "id");
    query1.Close();
    std::vector<AnsiString> warehouses;
    OpenQuery(query3, "select id,nome from magazzini order by id");
    for (query3.First(); !query3.Eof(); query3.Next()) {
        warehouses.push_back(Field(query3, "id"));
        Exec(query1, "insert into giacenze (idarticolo,idmagazzino,giacenza) values(" + newId + "," + warehouses.back() +
                         ",0)");
    }
    query3.Close();
    OpenQuery(query4, "select * from tblMagazzino where idarticolo=" + id);
    query4.First();
    const AnsiString q2 = StringReplace(Field(query4, "iQtaDisp2"), ",", ".", {rfReplaceAll});
    const AnsiString min = Field(query4, "iScortaMinima"), alarm = Field(query4, "iScortaAllarme");
    query4.Close();
    Exec(query1, "update giacenze set giacenza=" + q2 + ", GiacenzaMin=" + min + ", LivelloRiordino=" + alarm +
                     " where idarticolo=" + newId + " and idmagazzino=" + warehouses.at(1));
    OpenQuery(query3, "select id from listini order by id");
    for (query3.First(); !query3.Eof(); query3.Next())
        Exec(query1, "insert into righelistino (idlistino,idarticolo,Codice,Descrizione,costo,sconto,ricarico,prezzo) "
                     "values(" + Field(query3, "id") + "," + newId + ",'" + id + "','" + description + "',0,0,0,0)");
    query3.Close();
    query2.Close();

    OpenQuery(query1, "select giacenza from giacenze where idarticolo=" + newId + " order by idmagazzino");
    std::vector<std::string> stock;
    for (query1.First(); !query1.Eof(); query1.Next())
        stock.push_back(Field(query1, "giacenza").str());
    EXPECT_EQ(stock, (std::vector<std::string>{"0", "35.5", "0"}));
    OpenQuery(query1, "select count(*) as n from righelistino where idarticolo=" + newId);
    EXPECT_EQ(Field(query1, "n"), "2");
    OpenQuery(query1, "select note, UM from articoli");
    EXPECT_EQ(Field(query1, "note"), "Confezione  100 pezzi  acciaio");
    EXPECT_EQ(Field(query1, "UM"), "conf");
}

TEST_F(ImportStatements, AnUnquotedEmptyValueEndsTheRunWithAnEngineError)
{
    EXPECT_THROW(OpenQuery(query4, "select * from tblUnitaDiMisura where IDUnitaDiMisura="), EDBEngineError);
    EXPECT_THROW(Exec(query1, "insert into clienti (codice,telefono) values('X','0'1')"), EDBEngineError);
}

} // namespace
