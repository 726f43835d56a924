#include "tests/platform/classlib/db/DbTestSupport.h"

namespace {

class TDataModule1 : public TComponent {
    VENDARO_CLASS(TDataModule1, TComponent)
public:
    explicit TDataModule1(TComponent* owner) : TComponent(owner) {}
    // Writes the components it owns, as a data module does.
    void GetChildren(TGetChildProc proc, TComponent* root) override
    {
        for (int i = 0; i < ComponentCount(); ++i)
            proc(Components(i));
    }
};

class DatabaseFormDescription : public DbFixture {
protected:
    DatabaseFormDescription()
    {
        RegisterClass(TDataModule1::StaticClass());
        RegisterDBTables();
        Exec(query, "insert into clienti (codice) values('C1')");
        paradox.Close();
        paradox.SetDatabaseName("Unused");
    }
    ~DatabaseFormDescription() override
    {
        for (TClass cls : {TDataModule1::StaticClass(), TSession::StaticClass(), TDatabase::StaticClass(),
                           TQuery::StaticClass()})
            UnRegisterClass(cls);
    }
    AnsiString Description(bool connected) const
    {
        return AnsiString("object DataModule1: TDataModule1\r\n"
                          "  object Database1: TDatabase\r\n") +
               (connected ? "    Connected = True\r\n" : "") +
               "    DatabaseName = 'PVenDar5'\r\n"
               "    DriverName = 'STANDARD'\r\n"
               "    Params.Strings = (\r\n"
               "      'PATH=" + AnsiString(folder.Path().string()) + "')\r\n"
               "    SessionName = 'Default'\r\n"
               "  end\r\n"
               "  object Query1: TQuery\r\n" +
               (connected ? "    Active = True\r\n" : "") +
               "    DatabaseName = 'PVenDar5'\r\n"
               "    RequestLive = True\r\n"
               "    SQL.Strings = (\r\n"
               "      'select codice from clienti')\r\n"
               "  end\r\n"
               "end\r\n";
    }
    TOwned<TComponent> Read(const AnsiString& text)
    {
        TStringStream s(text);
        return TOwned<TComponent>(s.ReadComponent(nullptr));
    }
};

TEST_F(DatabaseFormDescription, DatabaseClassesAreRegistered)
{
    for (const char* name : {"TSession", "TDatabase", "TQuery"})
        EXPECT_EQ(FindClass(name)->ClassName(), name);
}

TEST_F(DatabaseFormDescription, ReadsPropertiesAndConnectsOnceLoaded)
{
    auto module = Read(Description(true));
    auto* db = static_cast<TDatabase*>(module->FindComponent("Database1"));
    auto* q = static_cast<TQuery*>(module->FindComponent("Query1"));
    ASSERT_NE(db, nullptr);
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(db->DatabaseName(), "PVenDar5");
    EXPECT_EQ(db->DriverName(), "STANDARD");
    EXPECT_EQ(db->Params()->Count(), 1);
    EXPECT_TRUE(db->Connected());
    EXPECT_TRUE(q->RequestLive());
    ASSERT_TRUE(q->Active());
    EXPECT_EQ(q->FieldByName("codice")->AsString(), "C1");
}

TEST_F(DatabaseFormDescription, WritesWhatDiffersFromTheDefaults)
{
    auto module = Read(Description(false));
    auto* db = static_cast<TDatabase*>(module->FindComponent("Database1"));
    EXPECT_FALSE(db->Connected());
    db->SetKeepConnection(false);
    db->SetReadOnly(true);
    TStringStream out;
    out.WriteComponent(module.get());
    const std::string text = out.DataString().str();
    for (const char* line : {"KeepConnection = False", "ReadOnly = True", "DatabaseName = 'PVenDar5'",
                             "'select codice from clienti'", "RequestLive = True"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    for (const char* line : {"Connected", "Active", "LoginPrompt"})
        EXPECT_EQ(text.find(line), std::string::npos) << line << "\n" << text;
}

} // namespace
