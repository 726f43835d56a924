#include "tests/importa/ImportaFixture.h"

namespace {

const ShownBox kArticleDuplicates{"Gli articoli gi\xE0 presenti in archivio non sono stati importati",
                                  "Procedura di importazione articoli"};

class ArticleImport : public ImportaFixture {
protected:
    void ImportArticles()
    {
        StartAndImport({&TForm1::CheckBox4});
        StopProgram();
    }
    // The stock rows of the article with that internal code, by warehouse.
    TextRows Stock(const char* code) const
    {
        return Target(AnsiString("select g.idmagazzino, g.giacenza, g.GiacenzaMin, g.LivelloRiordino from giacenze g "
                                 "join articoli a on a.id = g.idarticolo where a.codiceinterno='") +
                      code + "' order by g.idmagazzino");
    }
    TextRows PriceRows(const char* code) const
    {
        return Target(AnsiString("select r.idlistino, r.Codice, r.Descrizione, r.costo, r.sconto, r.ricarico, r.prezzo "
                                 "from righelistino r join articoli a on a.id = r.idarticolo where "
                                 "a.codiceinterno='") +
                      code + "' order by r.idlistino");
    }
};

TEST_F(ArticleImport, EachArticleGetsItsUnitStockAndPriceListRows)
{
    StartAndImport({&TForm1::CheckBox4});
    EXPECT_EQ(boxes, std::vector<ShownBox>{kCompletedBox});
    EXPECT_EQ(Log(), (std::vector<AnsiString>{"Importazione articoli", "Terminato"}));
    StopProgram();
    EXPECT_EQ(Target("select codice, codiceinterno, UM from articoli order by id"),
              (TextRows{{"1", "VIT-4X40", "conf"},
                        {"2", "MART-500", "pz"},
                        {"3", "CAVO-3G15", "m"},
                        {"4", "VERN-BIANCA", "lt"},
                        {"5", "TASS-8", "conf"},
                        {"6", "CHIODI-KG", "kg"}}));
    // Commas in descriptions and notes become blanks, colons in notes too.
    EXPECT_EQ(Target("select descrizione, note from articoli where codiceinterno='VIT-4X40'"),
              (TextRows{{"Viti autofilettanti 4x40  zincate", "Confezione  100 pezzi  acciaio"}}));
    EXPECT_EQ(Stock("VIT-4X40"), (TextRows{{"1", "120.000000", "10.000000", "20.000000"},
                                          {"2", "35.500000", "10.000000", "20.000000"},
                                          {"3", "0.000000", "10.000000", "20.000000"}}));
    EXPECT_EQ(PriceRows("VIT-4X40"), (TextRows{{"1", "1", "Viti autofilettanti 4x40  zincate", "0", "0.000000",
                                                "0.000000", "0"},
                                               {"2", "1", "Viti autofilettanti 4x40  zincate", "0", "0.000000",
                                                "0.000000", "0"}}));
    EXPECT_EQ(Target("select count(*) from giacenze"), (TextRows{{"18"}}));
    EXPECT_EQ(Target("select count(*) from righelistino"), (TextRows{{"12"}}));
}

TEST_F(ArticleImport, LongDescriptionIsCutToFiftyCharacters)
{
    ImportArticles();
    const AnsiString cut = "Tasselli in nylon diametro 8 mm per muratura piena";
    EXPECT_EQ(Target("select descrizione from articoli where codiceinterno='TASS-8'"), (TextRows{{cut}}));
    EXPECT_EQ(Target("select distinct r.Descrizione from righelistino r join articoli a on a.id = r.idarticolo "
                     "where a.codiceinterno='TASS-8'"),
              (TextRows{{cut}}));
}

TEST_F(ArticleImport, WarehousesDecideTheStockRows)
{
    struct Case {
        const char* change;
        TextRows stock;
    };
    const Case cases[] = {
        {"delete from magazzini", {}},
        {"insert into magazzini (nome) values('Quarto')",
         {{"1", "12.000000", "2.000000", "4.000000"},
          {"2", "4.000000", "2.000000", "4.000000"},
          {"3", "2.000000", "2.000000", "4.000000"},
          {"4", "0.000000", "NULL", "NULL"}}},
    };
    for (const Case& c : cases) {
        UseFolder(root_.Path().string());
        MakeSamples(root_.Path().string(), {}, true);
        ChangeTarget(c.change);
        ImportArticles();
        EXPECT_EQ(Stock("MART-500"), c.stock) << c.change;
        EXPECT_EQ(Target("select count(*) from articoli"), (TextRows{{"6"}})) << c.change;
        boxes.clear();
    }
}

TEST_F(ArticleImport, NoPriceListGivesNoPriceListRows)
{
    ChangeTarget("delete from listini");
    ImportArticles();
    EXPECT_EQ(Target("select count(*) from righelistino"), (TextRows{{"0"}}));
    EXPECT_EQ(Target("select count(*) from giacenze"), (TextRows{{"18"}}));
}

TEST_F(ArticleImport, SecondRunSkipsEveryArticleAndReportsOnce)
{
    StartAndImport({&TForm1::CheckBox4});
    boxes.clear();
    Click(Form1->OBLButton1);
    EXPECT_EQ(boxes, (std::vector<ShownBox>{kArticleDuplicates, kCompletedBox}));
    StopProgram();
    EXPECT_EQ(Target("select count(*) from articoli"), (TextRows{{"6"}}));
    EXPECT_EQ(Target("select count(*) from giacenze"), (TextRows{{"18"}}));
    EXPECT_EQ(Target("select count(*) from righelistino"), (TextRows{{"12"}}));
}

TEST_F(ArticleImport, ArticlePresentByInternalCodeGetsNoRows)
{
    ChangeTarget("insert into articoli (codice, codiceinterno, descrizione) values('99', 'MART-500', 'gi\xE0 qui')");
    StartAndImport({&TForm1::CheckBox4});
    EXPECT_EQ(boxes, (std::vector<ShownBox>{kArticleDuplicates, kCompletedBox}));
    StopProgram();
    EXPECT_EQ(Target("select descrizione from articoli where codiceinterno='MART-500'"), (TextRows{{"gi\xE0 qui"}}));
    EXPECT_EQ(Stock("MART-500"), TextRows{});
    EXPECT_EQ(Target("select count(*) from articoli"), (TextRows{{"6"}}));
}

TEST_F(ArticleImport, MissingUnitAndStockRowDoNotTakeThePreviousArticlesValues)
{
    ChangeSource("update tblArticoli set IDUnitaDiMisura=99 where sCodInterno='MART-500'");
    ChangeSource("delete from tblMagazzino where idarticolo=2");
    ImportArticles();
    EXPECT_EQ(Target("select UM from articoli where codiceinterno='MART-500'"), (TextRows{{""}}));
    EXPECT_EQ(Stock("MART-500"), (TextRows{{"1", "0.000000", "0.000000", "0.000000"},
                                          {"2", "0.000000", "0.000000", "0.000000"},
                                          {"3", "0.000000", "0.000000", "0.000000"}}));
}

TEST_F(ArticleImport, DecimalCommaInAStockQuantityBecomesAPoint)
{
    ChangeSource("update tblMagazzino set iQtaDisp1='12,5', iScortaMinima='1,25' where idarticolo=2");
    ImportArticles();
    EXPECT_EQ(Stock("MART-500").at(0), (std::vector<AnsiString>{"1", "12.500000", "1.250000", "4.000000"}));
}

TEST_F(ArticleImport, ValueThatIsNoNumberEndsTheRunBeforeReachingTheEngine)
{
    struct Case {
        const char* change;
        const char* what;
    };
    const Case cases[] = {
        {"update tblArticoli set IDUnitaDiMisura='1 or 1=1' where sCodInterno='CAVO-3G15'", "unit id"},
        // An empty (NULL) unit id ends the run as the invalid look-up it makes; it is not an unknown unit.
        {"update tblArticoli set IDUnitaDiMisura=NULL where sCodInterno='CAVO-3G15'", "empty unit id"},
        {"update tblMagazzino set iQtaDisp1='0; delete from articoli' where idarticolo=3", "stock quantity"},
        {"update tblMagazzino set iScortaAllarme='' where idarticolo=3", "empty alarm level"},
    };
    for (const Case& c : cases) {
        UseFolder(root_.Path().string());
        MakeSamples(root_.Path().string(), {}, true);
        ChangeSource(c.change);
        StartAndImport({&TForm1::CheckBox4});
        EXPECT_EQ(boxes, std::vector<ShownBox>{kFailedBox}) << c.what;
        EXPECT_TRUE(Log().empty()) << c.what;
        StopProgram();
        boxes.clear();
        // The articles before stay whole; the failing one and those after are not written.
        EXPECT_EQ(Target("select codiceinterno from articoli order by id"), (TextRows{{"VIT-4X40"}, {"MART-500"}}))
            << c.what;
        EXPECT_EQ(Target("select count(*) from giacenze"), (TextRows{{"6"}})) << c.what;
        EXPECT_EQ(Target("select count(*) from righelistino"), (TextRows{{"4"}})) << c.what;
    }
}

// A value longer than its column ends the run; the reason names the row being written by
// its table and its code, so the user can find it in the source.
TEST_F(ArticleImport, ValueTooLongForItsColumnNamesTheRow)
{
    ChangeSource("update tblArticoli set sCodInterno='ART-LONG', sNote='" + AnsiString(std::string(340, 'n')) +
                 "' where sCodInterno='CAVO-3G15'");
    testing::internal::CaptureStderr();
    StartAndImport({&TForm1::CheckBox4});
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(boxes, std::vector<ShownBox>{kFailedBox});
    EXPECT_EQ(errors, "Importa: the import stopped: articoli, row ART-LONG: CHECK constraint failed: value too long "
                      "for column note (255)\n");
    StopProgram();
    EXPECT_EQ(Target("select codiceinterno from articoli order by id"), (TextRows{{"VIT-4X40"}, {"MART-500"}}));
}

TEST_F(ArticleImport, FailingArticleIsRolledBackSoARetryImportsIt)
{
    ChangeSource("update tblMagazzino set iQtaDisp2='molti' where idarticolo=3");
    StartAndImport({&TForm1::CheckBox4});
    ASSERT_EQ(boxes, std::vector<ShownBox>{kFailedBox});
    EXPECT_EQ(Stock("CAVO-3G15"), TextRows{});
    ChangeSource("update tblMagazzino set iQtaDisp2=0 where idarticolo=3");
    boxes.clear();
    Click(Form1->OBLButton1);
    EXPECT_EQ(boxes, (std::vector<ShownBox>{kArticleDuplicates, kCompletedBox}));
    StopProgram();
    EXPECT_EQ(Target("select count(*) from articoli"), (TextRows{{"6"}}));
    EXPECT_EQ(Stock("CAVO-3G15").size(), 3u);
    EXPECT_EQ(Target("select count(*) from righelistino"), (TextRows{{"12"}}));
}

} // namespace

namespace {

// What another program reading the target sees while the error box is up.
TEST_F(ArticleImport, RowsBeforeAFailureAreCommittedBeforeTheErrorBox)
{
    ChangeSource("update tblMagazzino set iQtaDisp2='molti' where idarticolo=3");
    TForm1* form = Start();
    Connect();
    Click(form->CheckBox4);
    TextRows seen;
    UserSetMessageBoxResponder([&](const MessageBoxRequest& box) {
        boxes.push_back({box.text, box.caption});
        seen = Target("select codiceinterno from articoli order by id");
        return IDOK;
    });
    Click(form->OBLButton1);
    ASSERT_EQ(boxes, std::vector<ShownBox>{kFailedBox});
    EXPECT_EQ(seen, (TextRows{{"VIT-4X40"}, {"MART-500"}}));
    StopProgram();
}

// The worker's rows are committed when it ends, before its duplicate box.
TEST_F(ArticleImport, FinishedWorkersRowsAreCommittedBeforeTheirBoxes)
{
    ChangeTarget("insert into articoli (codice,codiceinterno,descrizione,note,UM) values('9','VIT-4X40','','','')");
    TForm1* form = Start();
    Connect();
    Click(form->CheckBox4);
    std::vector<TextRows> seen;
    UserSetMessageBoxResponder([&](const MessageBoxRequest& box) {
        boxes.push_back({box.text, box.caption});
        seen.push_back(Target("select count(*) from articoli"));
        return IDOK;
    });
    Click(form->OBLButton1);
    EXPECT_EQ(boxes, (std::vector<ShownBox>{kArticleDuplicates, kCompletedBox}));
    EXPECT_EQ(seen, (std::vector<TextRows>{{{"6"}}, {{"6"}}}));
    StopProgram();
}

} // namespace
