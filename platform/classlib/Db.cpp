#include "platform/classlib/Db.h"

#include "platform/rtl/Arith.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/FloatConv.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/NumConv.h"
#include "platform/rtl/StrUtils.h"

#include <limits>

namespace {

TFieldType FieldTypeOf(DbiFieldType type)
{
    switch (type) {
    case DbiFieldType::String: return ftString;
    case DbiFieldType::Smallint: return ftSmallint;
    case DbiFieldType::Integer: return ftInteger;
    case DbiFieldType::Float: return ftFloat;
    case DbiFieldType::Currency: return ftCurrency;
    case DbiFieldType::Boolean: return ftBoolean;
    case DbiFieldType::Date: return ftDate;
    case DbiFieldType::Time: return ftTime;
    case DbiFieldType::DateTime: return ftDateTime;
    case DbiFieldType::AutoInc: return ftAutoInc;
    case DbiFieldType::Memo: return ftMemo;
    case DbiFieldType::Blob: return ftBlob;
    case DbiFieldType::Unknown: break;
    }
    return ftUnknown;
}

const DbiValue& NullValue()
{
    static const DbiValue null;
    return null;
}

int ToInteger(std::int64_t value)
{
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        throw EConvertError(AnsiString(std::to_string(value)) + " is not a valid integer value");
    return static_cast<int>(value);
}

} // namespace

// ---------------------------------------------------------------------------------------
// TField

const DbiValue& TField::Value() const
{
    if (!dataSet_ || !dataSet_->active_ || dataSet_->rows_.empty())
        return NullValue();
    return dataSet_->rows_[static_cast<std::size_t>(dataSet_->current_)][static_cast<std::size_t>(index_)];
}

bool TField::IsNull() const { return Value().IsNull(); }

AnsiString TField::AsString() const
{
    const DbiValue& v = Value();
    switch (v.kind) {
    case DbiValue::Kind::Null:
        return "";
    case DbiValue::Kind::Integer:
        if (dataType_ == ftBoolean)
            return v.integer != 0 ? "True" : "False";
        return AnsiString(std::to_string(v.integer));
    case DbiValue::Kind::Float:
        if (dataType_ == ftBoolean)
            return v.real != 0 ? "True" : "False";
        return FloatToStr(v.real);
    case DbiValue::Kind::Text:
    case DbiValue::Kind::Blob:
        break;
    }
    return v.text;
}

bool TField::TextChanged() const { return Value().TextChanged(); }

std::string TField::AsUtf8() const
{
    const DbiValue& v = Value();
    return v.TextChanged() ? v.changedText : AnsiToUtf8(AsString());
}

int TField::AsInteger() const
{
    const DbiValue& v = Value();
    switch (v.kind) {
    case DbiValue::Kind::Null: return 0;
    case DbiValue::Kind::Integer: return ToInteger(v.integer);
    case DbiValue::Kind::Float: return ToInteger(Round(v.real));
    case DbiValue::Kind::Text:
    case DbiValue::Kind::Blob: break;
    }
    return StrToInt(v.text);
}

double TField::AsFloat() const
{
    const DbiValue& v = Value();
    switch (v.kind) {
    case DbiValue::Kind::Null: return 0;
    case DbiValue::Kind::Integer: return static_cast<double>(v.integer);
    case DbiValue::Kind::Float: return v.real;
    case DbiValue::Kind::Text:
    case DbiValue::Kind::Blob: break;
    }
    return StrToFloat(v.text);
}

bool TField::AsBoolean() const
{
    const DbiValue& v = Value();
    switch (v.kind) {
    case DbiValue::Kind::Null: return false;
    case DbiValue::Kind::Integer: return v.integer != 0;
    case DbiValue::Kind::Float: return v.real != 0;
    case DbiValue::Kind::Text:
    case DbiValue::Kind::Blob: break;
    }
    if (v.text.IsEmpty())
        return false;
    switch (v.text[1]) {
    case 'T': case 't': case 'Y': case 'y': return true;
    case 'F': case 'f': case 'N': case 'n': return false;
    default: break;
    }
    throw EDatabaseError(Format(SNotABoolean, {v.text}));
}

void TField::Publish(TClassBuilder<TField>& c)
{
    c.Property("FieldName", &TField::FieldName);
    c.Property("DataType", &TField::DataType);
    c.Property("Size", &TField::Size);
}

// ---------------------------------------------------------------------------------------
// TDataSet

TDataSet::~TDataSet() { FreeFields(); }

void TDataSet::Open()
{
    if (active_)
        return;
    if (!uniDirectional_) {
        DbiResult result = OpenCursor();
        rows_.assign(std::make_move_iterator(result.rows.begin()), std::make_move_iterator(result.rows.end()));
        MakeFields(result.columns);
    } else {
        cursor_ = OpenRowCursor();
        try {
            MakeFields(cursor_->Columns());
            FetchMore();
        } catch (...) {
            FreeFields();
            rows_.clear();
            cursor_.reset();
            CloseCursor();
            throw;
        }
    }
    active_ = true;
    First();
}

void TDataSet::Close()
{
    if (!active_)
        return;
    active_ = false;
    rows_.clear();
    spare_ = DbiRow();
    cursor_.reset();
    FreeFields();
    passed_ = 0;
    current_ = 0;
    eof_ = bof_ = true;
    CloseCursor();
}

std::unique_ptr<DbiCursor> TDataSet::OpenRowCursor() { return std::make_unique<DbiCursor>(OpenCursor()); }

bool TDataSet::FetchRow(DbiCursor& cursor, DbiRow& row) { return cursor.Fetch(row); }

bool TDataSet::FetchMore() const
{
    if (!cursor_)
        return false;
    DbiRow row = std::move(spare_);
    if (!const_cast<TDataSet*>(this)->FetchRow(*cursor_, row)) {
        cursor_.reset();
        return false;
    }
    rows_.push_back(std::move(row));
    return true;
}

void TDataSet::DropPassed()
{
    if (!uniDirectional_)
        return;
    if (current_ > 0)
        spare_ = std::move(rows_[static_cast<std::size_t>(current_) - 1]);
    rows_.erase(rows_.begin(), rows_.begin() + current_);
    passed_ += current_;
    current_ = 0;
}

void TDataSet::CheckCanGoBack() const
{
    if (uniDirectional_ && passed_ + current_ > 0)
        throw EDatabaseError(SDataSetUnidirectional);
}

int TDataSet::RecordCount() const
{
    if (!active_)
        return 0;
    while (FetchMore()) {
    }
    return passed_ + static_cast<int>(rows_.size());
}

void TDataSet::SetUniDirectional(bool value)
{
    CheckInactive();
    uniDirectional_ = value;
}

void TDataSet::SetActive(bool value)
{
    if (ComponentState().Contains(csLoading)) {
        streamedActive_ = value;
        return;
    }
    if (value)
        Open();
    else
        Close();
}

void TDataSet::Loaded()
{
    inherited::Loaded();
    if (streamedActive_)
        Open();
}

void TDataSet::CheckInactive() const
{
    if (active_)
        throw EDatabaseError(SDataSetOpen);
}

void TDataSet::First()
{
    CheckCanGoBack();
    current_ = 0;
    bof_ = true;
    eof_ = rows_.empty();
}

void TDataSet::Next()
{
    if (static_cast<std::size_t>(current_) + 1 < rows_.size() || FetchMore()) {
        ++current_;
        bof_ = false;
        DropPassed();
    } else {
        eof_ = true;
    }
}

void TDataSet::Prior()
{
    if (current_ > 0 || passed_ > 0) {
        CheckCanGoBack();
        --current_;
        eof_ = false;
    } else {
        bof_ = true;
    }
}

void TDataSet::Last()
{
    while (FetchMore()) {
    }
    current_ = rows_.empty() ? 0 : static_cast<int>(rows_.size()) - 1;
    DropPassed();
    eof_ = true;
    bof_ = rows_.empty();
}

TField* TDataSet::Fields(int index) const
{
    if (index < 0 || index >= FieldCount())
        throw EListError(Format(SListIndexError, {index}));
    return fields_[static_cast<std::size_t>(index)];
}

TField* TDataSet::FindField(const AnsiString& name) const
{
    for (TField* f : fields_)
        if (f->FieldName().Length() == name.Length() && SameText(f->FieldName(), name))
            return f;
    return nullptr;
}

TField* TDataSet::FieldByName(const AnsiString& name) const
{
    TField* field = FindField(name);
    if (!field)
        throw EDatabaseError(Format(SFieldNotFound, {name}));
    return field;
}

void TDataSet::MakeFields(const std::vector<DbiColumn>& columns)
{
    for (const DbiColumn& column : columns) {
        TField* field = new TField(nullptr);
        field->dataSet_ = this;
        field->index_ = static_cast<int>(fields_.size());
        field->fieldName_ = column.name;
        field->dataType_ = FieldTypeOf(column.type);
        field->size_ = column.size;
        fields_.push_back(field);
    }
}

void TDataSet::FreeFields()
{
    std::vector<TField*> doomed;
    doomed.swap(fields_);
    for (TField* f : doomed)
        FreeObject(f);
}

void TDataSet::Publish(TClassBuilder<TDataSet>& c)
{
    c.Property("Active", &TDataSet::Active, &TDataSet::SetActive).Default(false);
    c.Property("UniDirectional", &TDataSet::UniDirectional, &TDataSet::SetUniDirectional).Default(false);
}
