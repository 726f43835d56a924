#include "platform/classlib/DBTables.h"

#include "platform/dbengine/DbiDrivers.h"
#include "platform/dbengine/DbiError.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>

namespace {

std::vector<TSession*>& AllSessions()
{
    static std::vector<TSession*> sessions;
    return sessions;
}

std::vector<TDatabase*>& AllDatabases()
{
    static std::vector<TDatabase*> databases;
    return databases;
}

template <class T>
void Forget(std::vector<T*>& list, T* item)
{
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

AnsiString EffectiveSessionName(const AnsiString& name)
{
    return name.IsEmpty() ? AnsiString(SDefaultSessionName) : name;
}

// Runs an engine call, turning its failure into the class library's engine error.
template <class Call>
auto Engine(Call call)
{
    try {
        return call();
    } catch (const EDbiError& e) {
        throw EDBEngineError(e.Message(), e.NativeCode());
    }
}

} // namespace

// ---------------------------------------------------------------------------------------
// TSession

TSession::TSession(TComponent* owner) : TComponent(owner) { AllSessions().push_back(this); }

TSession::~TSession() { Forget(AllSessions(), this); }

TDatabase* TSession::FindDatabase(const AnsiString& databaseName) const
{
    for (TDatabase* db : AllDatabases())
        if (SameText(db->DatabaseName(), databaseName) &&
            SameText(EffectiveSessionName(db->SessionName()), EffectiveSessionName(sessionName_)))
            return db;
    return nullptr;
}

TDatabase* TSession::OpenDatabase(const AnsiString& databaseName)
{
    TDatabase* db = databaseName.IsEmpty() ? nullptr : FindDatabase(databaseName);
    if (!db)
        throw EDatabaseError(Format(SUnknownDatabase, {databaseName}));
    db->Open();
    ++db->useCount_;
    return db;
}

void TSession::CloseDatabase(TDatabase* database)
{
    if (!database || database->useCount_ == 0)
        return;
    if (--database->useCount_ == 0 && !database->KeepConnection())
        database->Close();
}

int TSession::DatabaseCount() const
{
    int count = 0;
    for (int i = 0; Databases(i); ++i)
        ++count;
    return count;
}

TDatabase* TSession::Databases(int index) const
{
    for (TDatabase* db : AllDatabases())
        if (SameText(EffectiveSessionName(db->SessionName()), EffectiveSessionName(sessionName_)) && index-- == 0)
            return db;
    return nullptr;
}

void TSession::Publish(TClassBuilder<TSession>& c)
{
    c.Property("SessionName", &TSession::SessionName, &TSession::SetSessionName);
}

TSession* Session()
{
    // Made on first use and kept for the whole run, as the unit's global session.
    static TSession* session = [] {
        auto* s = new TSession(nullptr);
        s->SetSessionName(SDefaultSessionName);
        return s;
    }();
    return session;
}

TSession* FindSession(const AnsiString& sessionName)
{
    const AnsiString name = EffectiveSessionName(sessionName);
    if (SameText(name, SDefaultSessionName))
        return Session();
    for (TSession* s : AllSessions())
        if (SameText(s->SessionName(), name))
            return s;
    throw EDatabaseError(Format(SSessionNotFound, {name}));
}

// ---------------------------------------------------------------------------------------
// TDatabase

TDatabase::TDatabase(TComponent* owner) : TComponent(owner), params_(new TStringList)
{
    AllDatabases().push_back(this);
}

TDatabase::~TDatabase()
{
    Close();
    Forget(AllDatabases(), this);
    FreeObject(params_);
}

void TDatabase::CheckInactive() const
{
    if (Connected())
        throw EDatabaseError(SDatabaseOpen);
}

void TDatabase::SetDatabaseName(const AnsiString& value)
{
    CheckInactive();
    databaseName_ = value;
}

void TDatabase::SetDriverName(const AnsiString& value)
{
    CheckInactive();
    driverName_ = value;
}

void TDatabase::SetReadOnly(bool value)
{
    CheckInactive();
    readOnly_ = value;
}

void TDatabase::SetSessionName(const AnsiString& value)
{
    CheckInactive();
    sessionName_ = value;
}

TSession* TDatabase::Session() const { return FindSession(sessionName_); }

void TDatabase::SetConnected(bool value)
{
    if (ComponentState().Contains(csLoading)) {
        streamedConnected_ = value;
        return;
    }
    if (value)
        Open();
    else
        Close();
}

void TDatabase::Loaded()
{
    inherited::Loaded();
    if (streamedConnected_)
        Open();
}

void TDatabase::Open()
{
    if (connection_)
        return;
    std::vector<AnsiString> params;
    for (int i = 0; i < params_->Count(); ++i)
        params.push_back(params_->Strings(i));
    connection_ = Engine([&] { return DbiOpenDatabase(driverName_, params, readOnly_); });
}

void TDatabase::Close()
{
    if (!connection_)
        return;
    const std::vector<TDataSet*> open = dataSets_;
    for (TDataSet* dataSet : open)
        dataSet->Close();
    dataSets_.clear();
    useCount_ = 0;
    connection_.reset();
}

DbiConnection& TDatabase::Connection()
{
    if (!connection_)
        throw EDatabaseError(SDatabaseClosed);
    return *connection_;
}

void TDatabase::StartTransaction()
{
    Engine([&] { Connection().StartTransaction(); });
}

void TDatabase::Commit()
{
    Engine([&] { Connection().Commit(); });
}

void TDatabase::Rollback()
{
    Engine([&] { Connection().Rollback(); });
}

bool TDatabase::InTransaction() const { return connection_ && connection_->InTransaction(); }

void TDatabase::AttachDataSet(TDataSet* dataSet) { dataSets_.push_back(dataSet); }

void TDatabase::DetachDataSet(TDataSet* dataSet) { Forget(dataSets_, dataSet); }

void TDatabase::Publish(TClassBuilder<TDatabase>& c)
{
    c.Property("Connected", &TDatabase::Connected, &TDatabase::SetConnected).Default(false);
    c.Property("DatabaseName", &TDatabase::DatabaseName, &TDatabase::SetDatabaseName);
    c.Property("DriverName", &TDatabase::DriverName, &TDatabase::SetDriverName);
    c.Property("KeepConnection", &TDatabase::KeepConnection, &TDatabase::SetKeepConnection).Default(true);
    c.Property("LoginPrompt", &TDatabase::LoginPrompt, &TDatabase::SetLoginPrompt).Default(true);
    c.Property("Params", &TDatabase::Params, &TDatabase::SetParams);
    c.Property("ReadOnly", &TDatabase::ReadOnly, &TDatabase::SetReadOnly).Default(false);
    c.Property("SessionName", &TDatabase::SessionName, &TDatabase::SetSessionName);
}

// ---------------------------------------------------------------------------------------
// TQuery

TQuery::TQuery(TComponent* owner) : TDataSet(owner), sql_(new TStringList)
{
    sql_->SetOnChange(TNotifyEvent(this, &TQuery::QueryChanged));
}

TQuery::~TQuery()
{
    Close();
    FreeObject(sql_);
}

void TQuery::SetDatabaseName(const AnsiString& value)
{
    CheckInactive();
    databaseName_ = value;
}

void TQuery::SetSessionName(const AnsiString& value)
{
    CheckInactive();
    sessionName_ = value;
}

void TQuery::QueryChanged(TObject*) { Close(); }

AnsiString TQuery::StatementText() const
{
    AnsiString text = sql_->Text();  // not const, so it is handed back without a copy
    // Blank as Trim sees it: nothing above a space.
    const std::string& bytes = text.str();
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) <= 0x20; }))
        throw EDatabaseError(SNoSQLStatement);
    return text;
}

TDatabase* TQuery::Database() const
{
    TSession* session = FindSession(sessionName_);
    return session->FindDatabase(databaseName_);
}

TDatabase* TQuery::UseDatabase() { return FindSession(sessionName_)->OpenDatabase(databaseName_); }

DbiResult TQuery::OpenCursor()
{
    const AnsiString text = StatementText();
    TDatabase* db = UseDatabase();
    try {
        DbiResult result = Engine([&] { return db->Connection().Open(text); });
        openDatabase_ = db;
        db->AttachDataSet(this);
        return result;
    } catch (...) {
        db->Session()->CloseDatabase(db);
        throw;
    }
}

std::unique_ptr<DbiCursor> TQuery::OpenRowCursor()
{
    const AnsiString text = StatementText();
    TDatabase* db = UseDatabase();
    try {
        std::unique_ptr<DbiCursor> cursor = Engine([&] { return db->Connection().OpenCursor(text); });
        openDatabase_ = db;
        db->AttachDataSet(this);
        return cursor;
    } catch (...) {
        db->Session()->CloseDatabase(db);
        throw;
    }
}

bool TQuery::FetchRow(DbiCursor& cursor, DbiRow& row)
{
    return Engine([&] { return cursor.Fetch(row); });
}

void TQuery::CloseCursor()
{
    TDatabase* db = openDatabase_;
    if (!db)
        return;
    openDatabase_ = nullptr;
    db->DetachDataSet(this);
    db->Session()->CloseDatabase(db);
}

void TQuery::ExecSQL()
{
    CheckInactive();
    const AnsiString text = StatementText();
    TDatabase* db = UseDatabase();
    struct Release {
        TDatabase* db;
        ~Release() { db->Session()->CloseDatabase(db); }
    } release{db};
    rowsAffected_ = Engine([&] { return db->Connection().Execute(text).rowsAffected; });
}

void TQuery::Publish(TClassBuilder<TQuery>& c)
{
    c.Property("DatabaseName", &TQuery::DatabaseName, &TQuery::SetDatabaseName);
    c.Property("RequestLive", &TQuery::RequestLive, &TQuery::SetRequestLive).Default(false);
    c.Property("SessionName", &TQuery::SessionName, &TQuery::SetSessionName);
    c.Property("SQL", &TQuery::SQL, &TQuery::SetSQL);
}

void RegisterDBTables()
{
    RegisterClasses({TSession::StaticClass(), TDatabase::StaticClass(), TQuery::StaticClass()});
}
