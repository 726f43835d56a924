// The import dialog on a genuine Access file (the Northwind sample under the source's
// name) and on files that are no database at all.
#include "tests/importa/ImportaFixture.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

const std::filesystem::path kNorthwind =
    std::filesystem::path(VENDARO_SOURCE_DIR) / ".." / "shared" / "jet" / "nwind.mdb";

std::string Bytes(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class GenuineAccessSource : public ImportaFixture {};

TEST_F(GenuineAccessSource, ConnectsAndTheImportFailsOnTheMissingTables)
{
    if (!std::filesystem::is_regular_file(kNorthwind))
        GTEST_SKIP() << "the genuine Access fixture is missing: no " << kNorthwind.string();
    std::filesystem::copy_file(kNorthwind, InFolder("dbVendaroBase4.mdb"),
                               std::filesystem::copy_options::overwrite_existing);
    const std::string sourceBefore = Bytes(InFolder("dbVendaroBase4.mdb"));
    const TextRows clienti = Target("select * from clienti order by id");
    const TextRows studio = Target("select * from studio");

    TForm1* form = Start();
    Connect(); // "Test collegamento" succeeds: the start button is enabled
    EXPECT_FALSE(form->OBLButton3->Enabled());
    EXPECT_TRUE(boxes.empty());
    RunImport({form->CheckBox5, form->CheckBox1});
    EXPECT_EQ(boxes, std::vector<ShownBox>{kFailedBox});
    EXPECT_TRUE(Log().empty());
    StopProgram();

    EXPECT_EQ(Target("select * from clienti order by id"), clienti);
    EXPECT_EQ(Target("select * from studio"), studio);
    EXPECT_TRUE(Bytes(InFolder("dbVendaroBase4.mdb")) == sourceBefore);
}

// Half of a genuine file: "Test collegamento" fails on it with the engine's message, and the
// Access library prints nothing on the terminal.
TEST_F(GenuineAccessSource, AFileCutShortFailsTheTest)
{
    if (!std::filesystem::is_regular_file(kNorthwind))
        GTEST_SKIP() << "the genuine Access fixture is missing: no " << kNorthwind.string();
    const std::string whole = Bytes(kNorthwind.string());
    std::ofstream(InFolder("dbVendaroBase4.mdb"), std::ios::binary | std::ios::trunc) << whole.substr(0, whole.size() / 2);
    TForm1* form = Start();
    Browse(SourcePath());
    testing::internal::CaptureStderr();
    Click(form->OBLButton3);
    const std::string terminal = testing::internal::GetCapturedStderr();
    ASSERT_EQ(boxes.size(), 1u) << "the application shows the engine's message";
    EXPECT_EQ(boxes[0].caption, "ProceduraImportazione");
    EXPECT_NE(Pos("the file is cut short", boxes[0].text), 0) << boxes[0].text.str();
    EXPECT_FALSE(form->Database2->Connected());
    EXPECT_TRUE(form->OBLButton3->Enabled());
    EXPECT_FALSE(form->OBLButton1->Enabled());
    EXPECT_EQ(terminal, "");
}

TEST_F(GenuineAccessSource, AFileThatIsNoDatabaseFailsTheTest)
{
    const char* contents[] = {"", "Not an Access file, only a few words of text to fill its header and more."};
    for (const char* content : contents) {
        std::ofstream(InFolder("dbVendaroBase4.mdb"), std::ios::binary | std::ios::trunc) << content;
        TForm1* form = Start();
        boxes.clear();
        Browse(SourcePath());
        Click(form->OBLButton3);
        ASSERT_EQ(boxes.size(), 1u) << "the application shows the engine's message";
        EXPECT_EQ(boxes[0].caption, "ProceduraImportazione");
        EXPECT_NE(Pos("not a database", boxes[0].text), 0) << boxes[0].text.str();
        EXPECT_FALSE(form->Database2->Connected());
        EXPECT_TRUE(form->OBLButton3->Enabled());
        EXPECT_FALSE(form->OBLButton1->Enabled());
        StopProgram();
        EXPECT_EQ(Bytes(InFolder("dbVendaroBase4.mdb")), content) << "the file is left as it was";
    }
}

} // namespace
