// What the import leaves in the user's files: complete data files while the program is
// still open, no file made in a data folder behind the user's back, and engine messages
// that name files as the dialog did.
#include "tests/importa/ImportaFixture.h"

#include <filesystem>
#include <fstream>

namespace {

class ImportaDataFiles : public ImportaFixture {
protected:
    std::vector<std::string> Names(const std::string& folder) const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(InFolder(folder)))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(ImportaDataFiles, CopyOfTheDataFileTakenAfterARunHoldsTheRows)
{
    StartAndImport({&TForm1::CheckBox1, &TForm1::CheckBox4});
    ASSERT_FALSE(boxes.empty());
    ASSERT_EQ(boxes.back(), kCompletedBox);
    // The program is still open: a user copies the data file alone, as a backup would.
    TempFolder backup;
    std::filesystem::copy_file(InFolder("Dati/tables.sqlite3"), backup / "tables.sqlite3");
    auto copy = DbiOpenDatabase("STANDARD", {AnsiString("PATH=" + backup.Path().string())}, true);
    for (const char* table : {"clienti", "articoli", "giacenze", "righelistino"}) {
        const AnsiString count = AnsiString("select count(*) from ") + table;
        const TextRows live = Target(count);
        EXPECT_NE(live, (TextRows{{"0"}})) << table;
        EXPECT_EQ(Rows(*copy, count), live) << table;
    }
    EXPECT_EQ(Names("Dati"), std::vector<std::string>{"tables.sqlite3"}) << "no log or journal left beside it";
    EXPECT_EQ(Names("."), (std::vector<std::string>{"ComponenteStampa", "Dati", "dbVendaroBase4.mdb"}));
}

TEST_F(ImportaDataFiles, DataFolderWithoutItsTablesFileGetsNoFile)
{
    std::filesystem::remove(InFolder("Dati/tables.sqlite3"));
    StartAndImport({&TForm1::CheckBox1});
    EXPECT_EQ(boxes, std::vector<ShownBox>{kFailedBox}) << "the first statement finds no table";
    EXPECT_TRUE(Log().empty());
    EXPECT_TRUE(Names("Dati").empty());
}

TEST_F(ImportaDataFiles, EngineMessageNamesTheSourceAsTheDialogShowsIt)
{
    std::filesystem::create_directory(InFolder("rotto"));
    std::ofstream(InFolder("rotto/dbVendaroBase4.mdb"))
        << "Questo file non e' un database: solo testo, abbastanza lungo da riempire un'intestazione.";
    TForm1* form = Start();
    const std::string source = WindowsPath(InFolder("rotto/dbVendaroBase4.mdb"));
    Browse(source);
    Click(form->OBLButton3);
    ASSERT_EQ(boxes.size(), 1u);
    const std::string message = boxes[0].text.str();
    EXPECT_NE(message.find(source), std::string::npos) << message;
    EXPECT_EQ(message.find(InFolder("rotto")), std::string::npos) << "no host path: " << message;
    EXPECT_FALSE(form->Database2->Connected());
}

} // namespace
