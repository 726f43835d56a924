#include "tests/importa/ImportaFixture.h"

#include <algorithm>

namespace {

class RegistryImport : public ImportaFixture {};

struct RegistryKind {
    TCheckBox* TForm1::*box;
    const char* table;
    const char* logLine;
    TextRows codes; // in the order of the source's ids, empty and repeated codes skipped
    const char* duplicateBox; // "" when the sample has no repeated code in the category
    const char* duplicateCaption;
};

const RegistryKind kKinds[] = {
    {&TForm1::CheckBox1, "clienti", "Importazione clienti", {{"C001"}, {"C002"}, {"C003"}, {"C`05"}},
     "I clienti gi\xE0 presenti in archivio non sono stati importati", "Procedura di importazione clienti"},
    {&TForm1::CheckBox2, "fornitori", "Importazione fornitori", {{"F001"}, {"F002"}, {"F003"}}, "", ""},
    {&TForm1::CheckBox3, "collaboratori", "Importazione Collaboratori", {{"K001"}, {"K002"}}, "", ""},
    {&TForm1::CheckBox6, "vettori", "Importazione Vettori", {{"V001"}, {"V002"}}, "", ""},
    {&TForm1::CheckBox7, "rappresentanti", "Importazione Rappresentanti", {{"R001"}, {"R002"}}, "", ""},
    {&TForm1::CheckBox8, "consulenti", "Importazione Consulenti", {{"S001"}, {"S002"}}, "", ""},
};

TEST_F(RegistryImport, EachKindCopiesItsCategoryIntoItsTable)
{
    for (const RegistryKind& kind : kKinds) {
        StartAndImport({kind.box});
        std::vector<ShownBox> expected;
        if (*kind.duplicateBox)
            expected.push_back({kind.duplicateBox, kind.duplicateCaption});
        expected.push_back(kCompletedBox);
        EXPECT_EQ(boxes, expected) << kind.table;
        EXPECT_EQ(Log(), (std::vector<AnsiString>{kind.logLine, "Terminato"})) << kind.table;
        StopProgram();
        boxes.clear();
        EXPECT_EQ(Target(AnsiString("select codice from ") + kind.table + " order by id"), kind.codes) << kind.table;
        for (const RegistryKind& other : kKinds) {
            if (&other != &kind) {
                EXPECT_EQ(Target(AnsiString("select count(*) from ") + other.table), (TextRows{{"0"}}))
                    << kind.table << " leaves " << other.table << " alone";
            }
        }
        ChangeTarget(AnsiString("delete from ") + kind.table);
    }
}

TEST_F(RegistryImport, CustomersAndSuppliersGetEveryColumn)
{
    StartAndImport({&TForm1::CheckBox1});
    StopProgram();
    EXPECT_EQ(Target("select codice,DenominazioneSecondaria,nome,indirizzo,cap,citt\xE0,prov,nazione,telefono,fax,"
                     "cellulare,codicefiscale,partitaiva,email,web from clienti where codice='C002'"),
              (TextRows{{"C002", "D`Angelo Ferramenta S.r.l.", "Giuseppe", "Corso Vittorio Emanuele II  45", "80121",
                         "Napoli", "NA", "", "081 5551234", "081 5551235", "347 1112223", "DNGGPP62C15F839Y", "04567890123",
                         "ordini@dangelo.example.it", "www.dangelo.example.it"}}));
}

TEST_F(RegistryImport, OtherKindsLeaveOutSecondaryNameAndWeb)
{
    StartAndImport({&TForm1::CheckBox3});
    StopProgram();
    EXPECT_EQ(Target("select codice,nome,indirizzo,cap,citt\xE0,prov,nazione,telefono,fax,cellulare,codicefiscale,"
                     "partitaiva,email,provvigione from collaboratori where codice='K002'"),
              (TextRows{{"K002", "Paolo", "Viale Europa  5", "25121", "Brescia", "BS", "", "030 3775544", "", "",
                         "CNTPLA75T10B157R", "", "paolo.conti@example.it", "NULL"}}));
}

TEST_F(RegistryImport, ApostrophesAndCommasFollowTheStoredConventions)
{
    StartAndImport({&TForm1::CheckBox1, &TForm1::CheckBox2});
    StopProgram();
    struct Case {
        const char* sql;
        const char* expected;
    };
    const Case cases[] = {
        // a comma and blank in the name give two blanks
        {"select nome from clienti where codice='C003'", "Luca  Anna"},
        // e-mail and web addresses lose their commas, the sides stay joined
        {"select email from clienti where codice='C003'", "info@bianchifigli.example.it"},
        {"select web from clienti where codice='C003'", "www.bianchifigli.example.it"},
        {"select citt\xE0 from clienti where codice='C003'", "Forl\xEC"},
        // apostrophes become grave accents in code, names, city and address
        {"select DenominazioneSecondaria from clienti where codice='C`05'", "L`Erboristeria di Nicol\xF2"},
        {"select indirizzo from clienti where codice='C`05'", "Vicolo dell`Orto 2"},
        {"select citt\xE0 from fornitori where codice='F001'", "Sant`Agata Bolognese"},
        {"select indirizzo from fornitori where codice='F002'", "Via dell`Industria  7"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Target(c.sql), (TextRows{{c.expected}})) << c.sql;
}

TEST_F(RegistryImport, QuotesInFieldsNotMadeSafeAreStoredAsRead)
{
    ChangeSource("update tblAnagrafiche set sTelefono='02 12''34', sCap='20''121', sProvincia='M''I', "
                 "sCodiceFiscale='RSS''X', sPartitaIva='0''1', sTeleFax='''', sCellulare='3''3' "
                 "where sCodInterno='C002'");
    StartAndImport({&TForm1::CheckBox1});
    EXPECT_EQ(boxes.back(), kCompletedBox);
    StopProgram();
    EXPECT_EQ(Target("select telefono,cap,prov,codicefiscale,partitaiva,fax,cellulare from clienti where codice='C002'"),
              (TextRows{{"02 12'34", "20'121", "M'I", "RSS'X", "0'1", "'", "3'3"}}));
}

TEST_F(RegistryImport, EmptyCodesAreSkippedAndDuplicatesReportedOnce)
{
    StartAndImport({&TForm1::CheckBox1});
    StopProgram();
    EXPECT_EQ(Target("select count(*) from clienti where nome='Carlo'"), (TextRows{{"0"}}));
    EXPECT_EQ(Target("select DenominazioneSecondaria from clienti where codice='C001'"), (TextRows{{"Rossi Mario"}}))
        << "the first row with a code wins";
    EXPECT_EQ(std::count(boxes.begin(), boxes.end(),
                         ShownBox{"I clienti gi\xE0 presenti in archivio non sono stati importati",
                                  "Procedura di importazione clienti"}),
              1);
}

TEST_F(RegistryImport, SecondRunInsertsNothingAndReportsTheDuplicatesOnce)
{
    StartAndImport({&TForm1::CheckBox2});
    boxes.clear();
    Click(Form1->OBLButton1);
    EXPECT_EQ(boxes, (std::vector<ShownBox>{{"I fornitori gi\xE0 presenti in archivio non sono stati importati",
                                             "Procedura di importazione fornitori"},
                                            kCompletedBox}));
    EXPECT_EQ(Log(), (std::vector<AnsiString>{"Importazione fornitori", "Terminato", "Importazione fornitori",
                                              "Terminato"}));
    EXPECT_EQ(Form1->ImportCount(), 2);
    StopProgram();
    EXPECT_EQ(Target("select count(*) from fornitori"), (TextRows{{"3"}}));
}

TEST_F(RegistryImport, CategoryWithoutRowsStillCountsAndLogs)
{
    ChangeSource("delete from tblAnagrafiche where IDCategoria=3");
    StartAndImport({&TForm1::CheckBox8});
    EXPECT_EQ(boxes, std::vector<ShownBox>{kCompletedBox});
    EXPECT_EQ(Log(), (std::vector<AnsiString>{"Importazione Consulenti", "Terminato"}));
}

TEST_F(RegistryImport, MissingSourceFieldEndsTheRunWithTheErrorBox)
{
    // The source lacks sSitoWeb, which every kind reads.
    ChangeSource("ALTER TABLE tblAnagrafiche DROP COLUMN sSitoWeb");
    StartAndImport({&TForm1::CheckBox6});
    EXPECT_EQ(boxes, std::vector<ShownBox>{kFailedBox});
    EXPECT_TRUE(Log().empty());
}

TEST_F(RegistryImport, CodeDifferingOnlyByAnApostropheMatchesTheStoredGraveAccent)
{
    ChangeTarget("insert into clienti (codice,nome) values('C`05','gi\xE0 presente')");
    StartAndImport({&TForm1::CheckBox1});
    StopProgram();
    EXPECT_EQ(Target("select nome from clienti where codice='C`05'"), (TextRows{{"gi\xE0 presente"}}));
}

// The stored tables hold 8-bit text: what the code page cannot hold becomes "?", and each
// source row so changed is named on standard error, by its code as the source holds it.
// Two codes that differ only there become one: the second is skipped as present.
TEST_F(RegistryImport, TextTheCodePageCannotHoldIsStoredWithQuestionMarksAndSaid)
{
    ChangeSourceUtf8("insert into tblAnagrafiche (IDCategoria,sCodInterno,sCognomeRS,sCitta) values "
                     "(2,'\xC5\x81" "01','\xC5\x81ukasz Nowak','\xC5\x81\xC3\xB3" "d\xC5\xBA'),"
                     "(2,'\xC5\x9A" "01','\xC5\x9Alusarz','Krak\xC3\xB3w'),"
                     "(2,'F900','M\xC3\xBCller','K\xC3\xB6ln')");
    testing::internal::CaptureStderr();
    StartAndImport({&TForm1::CheckBox2});
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(errors, "Importa: fornitori, row \xC5\x81" "01: sCodInterno, sCognomeRS, sCitta: characters the code "
                      "page cannot hold are stored as \"?\"\n"
                      "Importa: fornitori, row \xC5\x9A" "01: sCodInterno, sCognomeRS: characters the code page "
                      "cannot hold are stored as \"?\"\n");
    EXPECT_EQ(boxes, (std::vector<ShownBox>{{"I fornitori gi\xE0 presenti in archivio non sono stati importati",
                                             "Procedura di importazione fornitori"},
                                            kCompletedBox}));
    StopProgram();
    EXPECT_EQ(Target("select codice, DenominazioneSecondaria, citt\xE0 from fornitori where codice in ('?01','F900') "
                     "order by id"),
              (TextRows{{"?01", "?ukasz Nowak", "?\xF3" "d?"}, {"F900", "M\xFCller", "K\xF6ln"}}));
}

} // namespace
