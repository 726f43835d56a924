// Unit Db: datasets and their fields, and the database error.
//
// A dataset reads all rows of its statement when it opens and keeps them, so it can move
// freely (First, Next, Prior, Last) and other statements may run on the same database
// while it is walked. A unidirectional dataset reads its rows as it moves forward and
// keeps only the current one, so a long walk takes no more memory than a short one; it
// cannot go back once it moved (First and Prior raise), and RecordCount reads the rest. Fields are made when the dataset opens and freed when it closes;
// values read as text follow the class library's rules: NULL gives '', integers are decimal,
// floating-point values go through FloatToStr (the current decimal separator), text comes
// as stored (Windows code page), Boolean fields read "True" or "False".
#pragma once

#include "platform/classlib/Classes.h"
#include "platform/dbengine/DbiConnection.h"
#include "platform/dbengine/DbiResult.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

VENDARO_EXCEPTION(EDatabaseError, Exception);

VENDARO_ENUM(TFieldType, ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency, ftBCD,
             ftDate, ftTime, ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob, ftMemo)

// Texts of the dataset errors.
inline constexpr const char* SFieldNotFound = "Field '%s' not found";
inline constexpr const char* SDataSetOpen = "Cannot perform this operation on an open dataset";
inline constexpr const char* SNotABoolean = "'%s' is not a valid boolean value";
inline constexpr const char* SDataSetUnidirectional = "Operation not allowed on a unidirectional dataset";

class TDataSet;

class TField : public TComponent {
    VENDARO_CLASS(TField, TComponent)
public:
    explicit TField(TComponent* owner) : TComponent(owner) {}

    const AnsiString& FieldName() const { return fieldName_; }
    TFieldType DataType() const { return dataType_; }
    // Declared length of a character field, else 0.
    int Size() const { return size_; }
    // 1-based position in the dataset.
    int FieldNo() const { return index_ + 1; }
    TDataSet* DataSet() const { return dataSet_; }

    // The value in the dataset's current row; an empty dataset reads as NULL.
    bool IsNull() const;
    AnsiString AsString() const;
    // The text the database holds had characters outside the code page, which AsString
    // shows as '?'; the database's own text is then AsUtf8.
    bool TextChanged() const;
    // The value as AsString gives it, in UTF-8; for changed text, the database's own text.
    std::string AsUtf8() const;
    // Text converts as StrToInt / StrToFloat do (EConvertError when it is no number);
    // a floating-point value rounds to the nearest integer, halves to even.
    int AsInteger() const;
    double AsFloat() const;
    // Numbers are true when not zero; text is true when it starts with T or Y, false when
    // empty or starting with F or N, else EDatabaseError.
    bool AsBoolean() const;

    static void Publish(TClassBuilder<TField>& c);

private:
    friend class TDataSet;
    const DbiValue& Value() const;

    TDataSet* dataSet_ = nullptr;
    int index_ = 0;
    AnsiString fieldName_;
    TFieldType dataType_ = ftUnknown;
    int size_ = 0;
};

class TDataSet : public TComponent {
    VENDARO_CLASS(TDataSet, TComponent)
public:
    explicit TDataSet(TComponent* owner) : TComponent(owner) {}
    ~TDataSet() override;

    void Open();
    void Close();
    bool Active() const { return active_; }
    void SetActive(bool value);

    void First();
    void Next();
    void Prior();
    void Last();
    bool Eof() const { return eof_; }
    bool Bof() const { return bof_; }
    bool IsEmpty() const { return rows_.empty(); }
    // Rows of the open dataset (0 when closed); RecNo is the current row, 1-based (0 when
    // there is none).
    int RecordCount() const;
    int RecNo() const { return active_ && !rows_.empty() ? passed_ + current_ + 1 : 0; }
    // Set while closed (EDatabaseError "Cannot perform this operation on an open dataset").
    bool UniDirectional() const { return uniDirectional_; }
    void SetUniDirectional(bool value);

    int FieldCount() const { return static_cast<int>(fields_.size()); }
    // EListError for an index out of range.
    TField* Fields(int index) const;
    // Case-insensitive; FieldByName raises EDatabaseError "Field '<name>' not found".
    TField* FieldByName(const AnsiString& name) const;
    TField* FindField(const AnsiString& name) const;

    static void Publish(TClassBuilder<TDataSet>& c);

protected:
    // Runs the dataset's statement and gives its rows; raises when it cannot.
    virtual DbiResult OpenCursor() = 0;
    // Called after the rows were dropped, to release what OpenCursor took.
    virtual void CloseCursor() {}
    // The rows of a unidirectional dataset, read as it moves; by default all of
    // OpenCursor's at once.
    virtual std::unique_ptr<DbiCursor> OpenRowCursor();
    // The cursor's next row; false after the last.
    virtual bool FetchRow(DbiCursor& cursor, DbiRow& row);
    void Loaded() override;
    void CheckInactive() const;

private:
    friend class TField;
    void MakeFields(const std::vector<DbiColumn>& columns);
    void FreeFields();

    // Reads one more row from the cursor into rows_; false when there is none.
    bool FetchMore() const;
    // A unidirectional dataset forgets the rows before the current one.
    void DropPassed();
    void CheckCanGoBack() const;

    mutable std::deque<DbiRow> rows_;
    mutable std::unique_ptr<DbiCursor> cursor_; // rows not yet read (unidirectional)
    mutable DbiRow spare_; // a passed row, whose storage the next row read reuses
    std::vector<TField*> fields_;
    int passed_ = 0; // rows dropped before rows_[0]
    int current_ = 0;
    bool uniDirectional_ = false;
    bool eof_ = true;
    bool bof_ = true;
    bool active_ = false;
    bool streamedActive_ = false;
};
