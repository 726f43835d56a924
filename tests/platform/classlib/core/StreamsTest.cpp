#include "platform/classlib/Classes.h"
#include "platform/rtl/FileSystem.h"
#include "platform/win/kernel/Resources.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

class StreamsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/classlib-streams-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    AnsiString Path(const char* name) const { return AnsiString(dir_ + "/" + name); }

    std::string dir_;
};

std::string Content(TStream& s)
{
    std::string out(static_cast<std::size_t>(s.Size()), '\0');
    s.SetPosition(0);
    s.ReadBuffer(out.data(), s.Size());
    return out;
}

// Every stream kind must behave alike for the shared rules.
template <class MakeStream>
void CheckCommonRules(MakeStream make)
{
    TOwned<TStream> s(make());
    EXPECT_EQ(s->Write("hello", 5), 5);
    EXPECT_EQ(s->Position(), 5);
    EXPECT_EQ(s->Size(), 5);

    char buf[8] = {};
    s->SetPosition(1);
    EXPECT_EQ(s->Read(buf, 8), 4);
    EXPECT_EQ(std::string(buf, 4), "ello");
    EXPECT_EQ(s->Read(buf, 8), 0);

    s->SetPosition(2);
    EXPECT_THROW(s->ReadBuffer(buf, 4), EReadError);

    EXPECT_EQ(s->Seek(-2, soFromEnd), 3);
    EXPECT_EQ(s->Seek(1, soFromCurrent), 4);
    // Past the end, then a write: the gap reads as zeros.
    s->SetPosition(8);
    EXPECT_EQ(s->Size(), 5);
    s->WriteBuffer("!", 1);
    EXPECT_EQ(Content(*s), std::string("hello\0\0\0!", 9));
    // Overwriting in the middle keeps the tail.
    s->SetPosition(1);
    s->WriteBuffer("EL", 2);
    EXPECT_EQ(Content(*s), std::string("hELlo\0\0\0!", 9));
}

} // namespace

TEST_F(StreamsTest, MemoryStreamFollowsTheCommonRules)
{
    CheckCommonRules([] { return new TMemoryStream(); });
}

TEST_F(StreamsTest, StringStreamFollowsTheCommonRules)
{
    CheckCommonRules([] { return new TStringStream(); });
}

TEST_F(StreamsTest, FileStreamFollowsTheCommonRules)
{
    AnsiString name = Path("common.bin");
    CheckCommonRules([&] { return new TFileStream(name, fmCreate); });
}

TEST_F(StreamsTest, FileStreamModesAndErrors)
{
    AnsiString name = Path("data.bin");
    {
        TFileStream out(name, fmCreate | fmShareExclusive);
        out.WriteBuffer("abc", 3);
    }
    {
        TFileStream in(name, fmOpenRead | fmShareDenyNone);
        EXPECT_EQ(in.Size(), 3);
        EXPECT_THROW(in.WriteBuffer("x", 1), EWriteError);
        EXPECT_EQ(in.FileName(), name);
    }
    {
        TFileStream rw(name, fmOpenReadWrite);
        rw.Seek(0, soFromEnd);
        rw.WriteBuffer("d", 1);
    }
    {
        TFileStream reopened(name, fmCreate);
        EXPECT_EQ(reopened.Size(), 0);
        reopened.WriteBuffer("abcd", 4);
        reopened.SetSize(2);
        EXPECT_EQ(Content(reopened), "ab");
    }
    AnsiString missing = Path("missing.bin");
    try {
        TFileStream in(missing, fmOpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file " + missing);
    }
    EXPECT_THROW(TFileStream(AnsiString(dir_), fmOpenRead), EFOpenError);
    EXPECT_THROW(TFileStream(AnsiString(dir_), fmCreate), EFCreateError);
    AnsiString noFolder = Path("no/such/folder.bin");
    try {
        TFileStream out(noFolder, fmCreate);
        FAIL();
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(), "Cannot create file " + noFolder);
    }
}

TEST_F(StreamsTest, MemoryStreamSizeClearAndWholeContentTransfers)
{
    TMemoryStream m;
    m.WriteBuffer("abcdef", 6);
    m.SetSize(3);
    EXPECT_EQ(m.Position(), 3);
    m.SetSize(5);
    EXPECT_EQ(Content(m), std::string("abc\0\0", 5));
    EXPECT_EQ(static_cast<const char*>(m.Memory())[1], 'b');

    TStringStream source("0123456789");
    source.SetPosition(7);
    m.LoadFromStream(&source);
    EXPECT_EQ(Content(m), "0123456789");

    TStringStream target;
    m.SaveToStream(&target);
    EXPECT_EQ(target.DataString(), "0123456789");

    AnsiString name = Path("memory.bin");
    m.SaveToFile(name);
    TMemoryStream fromFile;
    fromFile.LoadFromFile(name);
    EXPECT_EQ(Content(fromFile), "0123456789");

    m.Clear();
    EXPECT_EQ(m.Size(), 0);
    EXPECT_EQ(m.Position(), 0);
}

TEST_F(StreamsTest, CopyFromCopiesACountOrTheWholeSource)
{
    TStringStream source("abcdefgh");
    source.SetPosition(2);
    TMemoryStream dest;
    EXPECT_EQ(dest.CopyFrom(&source, 3), 3);
    EXPECT_EQ(Content(dest), "cde");

    source.SetPosition(6);
    TMemoryStream whole;
    EXPECT_EQ(whole.CopyFrom(&source, 0), 8);
    EXPECT_EQ(Content(whole), "abcdefgh");

    source.SetPosition(6);
    TMemoryStream tooMuch;
    EXPECT_THROW(tooMuch.CopyFrom(&source, 5), EReadError);
}

TEST_F(StreamsTest, StringStreamReadAndWriteStrings)
{
    TStringStream s(AnsiString("a\0b", 3));
    EXPECT_EQ(s.ReadString(2), AnsiString("a\0", 2));
    EXPECT_EQ(s.ReadString(5), "b");
    s.WriteString("cd");
    EXPECT_EQ(s.DataString(), AnsiString("a\0bcd", 5));
}

TEST_F(StreamsTest, StringListFilesRoundTrip)
{
    AnsiString name = Path("lines.txt");
    TStringList list;
    list.SetCommaText("one,two,three");
    list.SaveToFile(name);
    std::ifstream raw(std::string(name.str()), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(raw)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, "one\r\ntwo\r\nthree\r\n");
    TStringList back;
    back.LoadFromFile(name);
    EXPECT_EQ(back.CommaText(), "one,two,three");
    EXPECT_THROW(back.LoadFromFile(Path("absent.txt")), EFOpenError);
}

TEST_F(StreamsTest, FileStreamTakesWindowsFormPaths)
{
    FileSystem::SetDriveRoot('Q', dir_);
    {
        TFileStream out("Q:\\sub.bin", fmCreate);
        out.WriteBuffer("win", 3);
    }
    FileSystem::Reset();
    std::ifstream raw(dir_ + "/sub.bin", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(raw)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, "win");
}

TEST_F(StreamsTest, ResourceStreamReadsCompiledInData)
{
    RegisterResource(nullptr, RT_RCDATA, "TESTFORM", {'o', 'b', 'j'});
    RegisterResource(nullptr, RT_RCDATA, MAKEINTRESOURCEA(77), {1, 2});
    TResourceStream named(nullptr, "testform", RT_RCDATA);
    EXPECT_EQ(Content(named), "obj");
    EXPECT_THROW(named.WriteBuffer("x", 1), EStreamError);
    TResourceStream numbered(nullptr, 77, RT_RCDATA);
    EXPECT_EQ(numbered.Size(), 2);
    try {
        TResourceStream missing(nullptr, "NOSUCH", RT_RCDATA);
        FAIL();
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), "Resource NOSUCH not found");
    }
    EXPECT_THROW(TResourceStream(nullptr, 78, RT_RCDATA), EResNotFound);
    RemoveModuleResources(nullptr);
}
