#include "tests/importa/ImportaFixture.h"

namespace {

class CompanyDataImport : public ImportaFixture {
protected:
    TextRows Studio() const
    {
        return Target("select denominazioneA,indirizzo,cap,citt\xE0,prov,nazione,telefono1,cellulare,fax,"
                      "codicefiscale,partitaiva,numeroCIAA,email,Paginaweb from studio order by id");
    }
};

const std::vector<AnsiString> kImportedFirm{"Ferramenta dell`Orso di Colombo Andrea",
                                            "Via San Martino  8",
                                            "55100",
                                            "Lucca",
                                            "LU",
                                            "Italia",
                                            "0583 491234",
                                            "348 7654321",
                                            "0583 491235",
                                            "CLMNDR65B12E715K",
                                            "02345678901",
                                            "LU-123456",
                                            "info@ferramentadellorso.example.it",
                                            "www.ferramentadellorso.example.it"};

TEST_F(CompanyDataImport, FirstSourceRowReplacesTheFirmsData)
{
    ChangeSource("insert into tblanagraficaditta (sCognomeRS) values('Seconda ditta')");
    StartAndImport({&TForm1::CheckBox5});
    EXPECT_EQ(boxes, std::vector<ShownBox>{kCompletedBox});
    EXPECT_EQ(Log(), (std::vector<AnsiString>{"Importazione dati Ditta", "Terminato"}));
    StopProgram();
    EXPECT_EQ(Studio(), TextRows{kImportedFirm});
}

TEST_F(CompanyDataImport, CommasAndApostrophesFollowTheStoredConventions)
{
    ChangeSource("update tblanagraficaditta set sCCIAA='LU,12''3', sEmail='a,b''c@x.it', sSitoWeb='w,w''w', "
                 "sCitta='Lu''cca, centro', sTelefono='0583''49'");
    StartAndImport({&TForm1::CheckBox5});
    StopProgram();
    EXPECT_EQ(Target("select numeroCIAA, email, Paginaweb, citt\xE0, telefono1 from studio"),
              (TextRows{{"LU12`3", "ab`c@x.it", "ww`w", "Lu`cca  centro", "0583'49"}}));
}

TEST_F(CompanyDataImport, RunningTwiceLeavesOneRow)
{
    StartAndImport({&TForm1::CheckBox5});
    Click(Form1->OBLButton1);
    StopProgram();
    EXPECT_EQ(Studio(), TextRows{kImportedFirm});
}

TEST_F(CompanyDataImport, EmptySourceLeavesTheFirmsDataAlone)
{
    ChangeSource("delete from tblanagraficaditta");
    StartAndImport({&TForm1::CheckBox5});
    EXPECT_EQ(boxes, std::vector<ShownBox>{kCompletedBox});
    EXPECT_EQ(Log(), (std::vector<AnsiString>{"Importazione dati Ditta", "Terminato"}));
    EXPECT_EQ(Form1->ImportCount(), 1);
    StopProgram();
    EXPECT_EQ(Target("select denominazioneA from studio"), (TextRows{{"Ditta da configurare"}}));
}

TEST_F(CompanyDataImport, FailingInsertKeepsTheOldRow)
{
    // The target lacks a column of the insert: the delete runs, the insert fails.
    ChangeTarget("ALTER TABLE studio DROP COLUMN numeroCIAA");
    StartAndImport({&TForm1::CheckBox5});
    EXPECT_EQ(boxes, std::vector<ShownBox>{kFailedBox});
    EXPECT_TRUE(Log().empty());
    StopProgram();
    EXPECT_EQ(Target("select denominazioneA from studio"), (TextRows{{"Ditta da configurare"}}));
}

} // namespace
