// Unit DBTables: sessions, databases and queries over the database engine.
//
// A TDatabase gives an application-defined name (DatabaseName) to a connection of a driver
// ("STANDARD" for Paradox folders, "MSACCESS" for Access files) with its Params
// (NAME=value lines). A TQuery reaches its database by that name through its session
// ("Default" unless named); the database opens with the first statement of a query on it
// when it is not yet open, and a database with KeepConnection false closes again when its
// last query is done. Engine failures raise EDBEngineError with the engine's message.
#pragma once

#include "platform/classlib/Db.h"

#include <memory>

class DbiConnection;
class TDatabase;

class EDBEngineError : public EDatabaseError {
public:
    explicit EDBEngineError(const AnsiString& message, int nativeError = 0)
        : EDatabaseError(message), nativeError_(nativeError) {}
    const char* ClassName() const override { return "EDBEngineError"; }
    // The SQL engine's own result code, 0 when the engine itself found the fault.
    int NativeError() const { return nativeError_; }

private:
    int nativeError_;
};

inline constexpr const char* SDefaultSessionName = "Default";
inline constexpr const char* SDatabaseOpen = "Cannot perform this operation on an open database";
inline constexpr const char* SDatabaseClosed = "Cannot perform this operation on a closed database";
inline constexpr const char* SUnknownDatabase = "Unknown database: '%s'";
inline constexpr const char* SSessionNotFound = "Session '%s' not found";
inline constexpr const char* SNoSQLStatement = "No SQL statement available";

class TSession : public TComponent {
    VENDARO_CLASS(TSession, TComponent)
public:
    explicit TSession(TComponent* owner);
    ~TSession() override;

    const AnsiString& SessionName() const { return sessionName_; }
    void SetSessionName(const AnsiString& value) { sessionName_ = value; }

    // The database of this session with that DatabaseName (case-insensitive), or null.
    TDatabase* FindDatabase(const AnsiString& databaseName) const;
    // Finds and opens it for a dataset, counting the use; EDatabaseError when unknown.
    TDatabase* OpenDatabase(const AnsiString& databaseName);
    // Ends one use; the last use of a database without KeepConnection closes it.
    void CloseDatabase(TDatabase* database);
    int DatabaseCount() const;
    TDatabase* Databases(int index) const;

    static void Publish(TClassBuilder<TSession>& c);

private:
    AnsiString sessionName_;
};

// The default session, "Default".
TSession* Session();
// The session of that name ('' is the default one); EDatabaseError when there is none.
TSession* FindSession(const AnsiString& sessionName);

class TDatabase : public TComponent {
    VENDARO_CLASS(TDatabase, TComponent)
public:
    explicit TDatabase(TComponent* owner);
    ~TDatabase() override;

    const AnsiString& DatabaseName() const { return databaseName_; }
    void SetDatabaseName(const AnsiString& value);
    const AnsiString& DriverName() const { return driverName_; }
    void SetDriverName(const AnsiString& value);
    // NAME=value lines handed to the driver when the connection opens.
    TStrings* Params() const { return params_; }
    void SetParams(TStrings* value) { params_->Assign(value); }
    // There is no login to ask for: the flag is kept for the form description.
    bool LoginPrompt() const { return loginPrompt_; }
    void SetLoginPrompt(bool value) { loginPrompt_ = value; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    bool KeepConnection() const { return keepConnection_; }
    void SetKeepConnection(bool value) { keepConnection_ = value; }
    const AnsiString& SessionName() const { return sessionName_; }
    void SetSessionName(const AnsiString& value);
    TSession* Session() const;

    bool Connected() const { return connection_ != nullptr; }
    void SetConnected(bool value);
    void Open();
    // Closes the datasets on it, then the connection (an open transaction rolls back).
    void Close();

    void StartTransaction();
    void Commit();
    void Rollback();
    bool InTransaction() const;

    // The open connection; EDatabaseError when closed.
    DbiConnection& Connection();
    // The datasets that have the database open.
    int DataSetCount() const { return static_cast<int>(dataSets_.size()); }

    static void Publish(TClassBuilder<TDatabase>& c);

protected:
    void Loaded() override;

private:
    friend class TSession;
    friend class TQuery;
    void CheckInactive() const;
    void AttachDataSet(TDataSet* dataSet);
    void DetachDataSet(TDataSet* dataSet);

    AnsiString databaseName_;
    AnsiString driverName_;
    TStringList* params_;
    bool loginPrompt_ = true;
    bool readOnly_ = false;
    bool keepConnection_ = true;
    AnsiString sessionName_;
    bool streamedConnected_ = false;
    int useCount_ = 0;
    std::vector<TDataSet*> dataSets_;
    std::unique_ptr<DbiConnection> connection_;
};

// Registers the session, database and query classes with the class registry, so form
// descriptions can create them.
void RegisterDBTables();

class TQuery : public TDataSet {
    VENDARO_CLASS(TQuery, TDataSet)
public:
    explicit TQuery(TComponent* owner);
    ~TQuery() override;

    const AnsiString& DatabaseName() const { return databaseName_; }
    void SetDatabaseName(const AnsiString& value);
    const AnsiString& SessionName() const { return sessionName_; }
    void SetSessionName(const AnsiString& value);
    // The statement: the whole text of the list. Changing it closes the query.
    TStrings* SQL() const { return sql_; }
    void SetSQL(TStrings* value) { sql_->Assign(value); }
    // Accepted for the form description; the rows of a query are read-only.
    bool RequestLive() const { return requestLive_; }
    void SetRequestLive(bool value) { requestLive_ = value; }

    // The database this query names, or null when its session has none of that name.
    TDatabase* Database() const;
    // Runs a statement that returns no rows (a SELECT runs and its rows are dropped).
    void ExecSQL();
    // Rows changed by the last ExecSQL.
    int RowsAffected() const { return rowsAffected_; }

    static void Publish(TClassBuilder<TQuery>& c);

protected:
    DbiResult OpenCursor() override;
    void CloseCursor() override;
    std::unique_ptr<DbiCursor> OpenRowCursor() override;
    bool FetchRow(DbiCursor& cursor, DbiRow& row) override;

private:
    void QueryChanged(TObject* sender);
    AnsiString StatementText() const;
    TDatabase* UseDatabase();

    AnsiString databaseName_;
    AnsiString sessionName_;
    TStringList* sql_;
    bool requestLive_ = false;
    int rowsAffected_ = 0;
    TDatabase* openDatabase_ = nullptr; // held while the query is open
};
