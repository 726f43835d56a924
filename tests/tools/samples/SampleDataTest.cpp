#include "platform/dbengine/DbiDrivers.h"
#include "platform/dbengine/DbiError.h"
#include "tests/platform/dbengine/TempFolder.h"
#include "tools/samples/SampleData.h"

#include <gtest/gtest.h>

namespace {

long long CountOf(DbiConnection& db, const AnsiString& sql) { return db.Execute(sql).rows.at(0).at(0).integer; }

std::unique_ptr<DbiConnection> OpenSource(const TempFolder& root)
{
    return DbiOpenDatabase("MSACCESS", {"DATABASE NAME=" + root / "dbVendaroBase4.mdb"}, true);
}

TEST(SampleData, SourceHoldsEveryCategoryWithTheAwkwardCases)
{
    TempFolder root;
    MakeSamples(root.Path().string(), {}, false);
    auto db = OpenSource(root);
    for (int category = 0; category <= 5; ++category)
        EXPECT_GE(CountOf(*db, "select count(*) from tblAnagrafiche where IDCategoria=" + AnsiString(std::to_string(category))),
                  2)
            << category;
    EXPECT_GT(CountOf(*db, "select count(*) from tblAnagrafiche where sCognomeRS like '%''%'"), 0);
    EXPECT_GT(CountOf(*db, "select count(*) from tblAnagrafiche where sIndirizzo like '%,%'"), 0);
    EXPECT_GT(CountOf(*db, "select count(*) from tblAnagrafiche where sEMail like '%,%'"), 0);
    EXPECT_EQ(CountOf(*db, "select count(*) from tblAnagrafiche where sCodInterno=''"), 1);
    EXPECT_GT(CountOf(*db, "select count(*) from (select sCodInterno from tblAnagrafiche where sCodInterno<>'' "
                           "group by IDCategoria, sCodInterno having count(*) > 1)"),
              0);
    EXPECT_EQ(CountOf(*db, "select count(*) from tblanagraficaditta"), 1);
    EXPECT_GT(CountOf(*db, "select count(*) from tblArticoli where length(sDescrizione) > 50"), 0);
    // every article has its unit and its stock row
    EXPECT_EQ(CountOf(*db, "select count(*) from tblArticoli a join tblUnitaDiMisura u on "
                           "u.IDUnitaDiMisura=a.IDUnitaDiMisura join tblMagazzino m on m.idarticolo=a.IDArticolo"),
              CountOf(*db, "select count(*) from tblArticoli"));
    EXPECT_EQ(db->Execute("select sCitta from tblAnagrafiche where sCodInterno='C003'").rows.at(0).at(0).text, "Forl\xEC");
}

TEST(SampleData, DataFolderAndReportDatabaseHoldTheirTables)
{
    TempFolder root;
    MakeSamples(root.Path().string(), {}, false);
    auto data = DbiOpenDatabase("STANDARD", {"PATH=" + root / "Dati"}, false);
    for (const char* table : {"studio", "clienti", "fornitori", "collaboratori", "vettori", "rappresentanti",
                              "consulenti", "articoli", "giacenze", "righelistino", "documenti", "DDT", "ordini",
                              "ordinicli", "preventivi", "ricfisc", "notecredito", "fattpf"})
        EXPECT_NO_THROW(CountOf(*data, AnsiString("select count(*) from '") + table + ".db'")) << table;
    EXPECT_EQ(CountOf(*data, "select count(*) from magazzini"), 3);
    EXPECT_EQ(CountOf(*data, "select count(*) from listini"), 2);
    auto report = DbiOpenDatabase("MSACCESS", {"DATABASE NAME=" + root / "ComponenteStampa/RPTDATA.mdb"}, false);
    for (const char* table : {"DDT", "Fattura", "Nota di credito", "Ordine Cliente", "Ordine Fornitore", "Preventivo",
                              "Ricevuta Fiscale"})
        EXPECT_EQ(CountOf(*report, AnsiString("select count(*) from [") + table + "-Intestazione]"), 1) << table;
}

TEST(SampleData, ExistingSamplesAreReplacedOnlyWhenAsked)
{
    TempFolder root;
    MakeSamples(root.Path().string(), {}, false);
    {
        auto data = DbiOpenDatabase("STANDARD", {"PATH=" + root / "Dati"}, false);
        data->Execute("insert into magazzini (nome) values('Quarto')");
    }
    EXPECT_THROW(MakeSamples(root.Path().string(), {}, false), EDbiError);
    auto count = [&] {
        auto data = DbiOpenDatabase("STANDARD", {"PATH=" + root / "Dati"}, false);
        return CountOf(*data, "select count(*) from magazzini");
    };
    EXPECT_EQ(count(), 4);
    MakeSamples(root.Path().string(), {}, true);
    EXPECT_EQ(count(), 3);
}

TEST(SampleData, LargeSourceHasTheRequestedCounts)
{
    TempFolder root;
    MakeSamples(root.Path().string(), {40, 70}, false);
    auto db = OpenSource(root);
    for (int category = 0; category <= 5; ++category)
        EXPECT_EQ(CountOf(*db, "select count(*) from tblAnagrafiche where IDCategoria=" + AnsiString(std::to_string(category))),
                  40);
    EXPECT_EQ(CountOf(*db, "select count(distinct sCodInterno) from tblAnagrafiche"), 240);
    EXPECT_EQ(CountOf(*db, "select count(*) from tblArticoli"), 70);
    EXPECT_EQ(CountOf(*db, "select count(*) from tblMagazzino"), 70);
}

} // namespace
