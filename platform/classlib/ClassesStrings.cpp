#include "platform/classlib/Classes.h"

#include <utility>

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// The item is quoted when it holds a blank, a control byte, a quote or a comma.
AnsiString CommaItem(const AnsiString& s)
{
    for (int i = 1; i <= s.Length(); ++i) {
        char c = s[i];
        if (IsBlank(c) || c == '"' || c == ',') {
            AnsiString quoted("\"");
            for (int j = 1; j <= s.Length(); ++j) {
                quoted += s[j];
                if (s[j] == '"')
                    quoted += '"';
            }
            return quoted + "\"";
        }
    }
    return s;
}

// A quoted item: doubled quotes stand for one; the item ends at the closing quote (or at
// the end of the text when there is none).
AnsiString ExtractQuoted(const AnsiString& text, int& pos)
{
    AnsiString item;
    ++pos;
    while (pos <= text.Length()) {
        if (text[pos] == '"') {
            if (pos < text.Length() && text[pos + 1] == '"') {
                item += '"';
                pos += 2;
                continue;
            }
            ++pos;
            break;
        }
        item += text[pos++];
    }
    return item;
}

// Blanks separate items as commas do; a NUL byte ends the text.
bool IsSeparatorBlank(char c) { return c != '\0' && IsBlank(c); }

} // namespace

// ---------------------------------------------------------------------------------------
// TStrings

void TStrings::Error(const char* message, int data) { throw EStringListError(message, {data}); }

int TStrings::Add(const AnsiString& s)
{
    int index = GetCount();
    Insert(index, s);
    return index;
}

int TStrings::AddObject(const AnsiString& s, TObject* object)
{
    int index = Add(s);
    PutObject(index, object);
    return index;
}

void TStrings::AddStrings(TStrings* strings)
{
    BeginUpdate();
    for (int i = 0; i < strings->Count(); ++i)
        AddObject(strings->Get(i), strings->GetObject(i));
    EndUpdate();
}

void TStrings::InsertObject(int index, const AnsiString& s, TObject* object)
{
    Insert(index, s);
    PutObject(index, object);
}

void TStrings::Put(int index, const AnsiString& s)
{
    TObject* object = GetObject(index);
    BeginUpdate();
    Delete(index);
    InsertObject(index, s, object);
    EndUpdate();
}

void TStrings::Exchange(int index1, int index2)
{
    BeginUpdate();
    AnsiString s = Get(index1);
    TObject* o = GetObject(index1);
    Put(index1, Get(index2));
    PutObject(index1, GetObject(index2));
    Put(index2, s);
    PutObject(index2, o);
    EndUpdate();
}

void TStrings::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex)
        return;
    BeginUpdate();
    AnsiString s = Get(curIndex);
    TObject* o = GetObject(curIndex);
    Delete(curIndex);
    InsertObject(newIndex, s, o);
    EndUpdate();
}

int TStrings::IndexOf(const AnsiString& s) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (AnsiCompareText(Get(i), s) == 0)
            return i;
    return -1;
}

int TStrings::IndexOfName(const AnsiString& name) const
{
    for (int i = 0; i < GetCount(); ++i) {
        AnsiString s = Get(i);
        int p = Pos("=", s);
        if (p != 0 && AnsiCompareText(Copy(s, 1, p - 1), name) == 0)
            return i;
    }
    return -1;
}

int TStrings::IndexOfObject(TObject* object) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (GetObject(i) == object)
            return i;
    return -1;
}

AnsiString TStrings::Names(int index) const
{
    AnsiString s = Get(index);
    int p = Pos("=", s);
    return p != 0 ? Copy(s, 1, p - 1) : AnsiString();
}

AnsiString TStrings::Values(const AnsiString& name) const
{
    int index = IndexOfName(name);
    if (index < 0)
        return AnsiString();
    AnsiString s = Get(index);
    return Copy(s, Pos("=", s) + 1, s.Length());
}

void TStrings::SetValues(const AnsiString& name, const AnsiString& value)
{
    int index = IndexOfName(name);
    if (!value.IsEmpty()) {
        if (index < 0)
            index = Add(AnsiString());
        Put(index, name + "=" + value);
    } else if (index >= 0) {
        Delete(index);
    }
}

AnsiString TStrings::Text() const
{
    AnsiString text;
    for (int i = 0; i < GetCount(); ++i) {
        if (i == 0)
            text = Get(i);  // the first line is taken over, not copied
        else
            text += Get(i);
        text += "\r\n";
    }
    return text;
}

void TStrings::SetText(const AnsiString& text)
{
    BeginUpdate();
    Clear();
    int pos = 1;
    int length = text.Length();
    while (pos <= length) {
        int start = pos;
        while (pos <= length && text[pos] != '\r' && text[pos] != '\n')
            ++pos;
        Add(Copy(text, start, pos - start));
        if (pos <= length && text[pos] == '\r')
            ++pos;
        if (pos <= length && text[pos] == '\n')
            ++pos;
    }
    EndUpdate();
}

AnsiString TStrings::CommaText() const
{
    if (GetCount() == 1 && Get(0).IsEmpty())
        return "\"\"";
    AnsiString text;
    for (int i = 0; i < GetCount(); ++i) {
        if (i > 0)
            text += ',';
        text += CommaItem(Get(i));
    }
    return text;
}

void TStrings::SetCommaText(const AnsiString& text)
{
    BeginUpdate();
    Clear();
    int nul = Pos(AnsiString("\0", 1), text);
    int length = nul ? nul - 1 : text.Length();
    int pos = 1;
    while (pos <= length && IsSeparatorBlank(text[pos]))
        ++pos;
    while (pos <= length) {
        if (text[pos] == '"') {
            Add(ExtractQuoted(Copy(text, 1, length), pos));
        } else {
            int start = pos;
            while (pos <= length && !IsBlank(text[pos]) && text[pos] != ',')
                ++pos;
            Add(Copy(text, start, pos - start));
        }
        while (pos <= length && IsSeparatorBlank(text[pos]))
            ++pos;
        if (pos <= length && text[pos] == ',') {
            do
                ++pos;
            while (pos <= length && IsSeparatorBlank(text[pos]));
            // A delimiter at the end stands before an empty last item ("a," is "a" and "").
            if (pos > length)
                Add(AnsiString());
        }
    }
    EndUpdate();
}

bool TStrings::Equals(TStrings* strings) const
{
    if (GetCount() != strings->GetCount())
        return false;
    for (int i = 0; i < GetCount(); ++i)
        if (!(Get(i) == strings->Get(i)))
            return false;
    return true;
}

void TStrings::Assign(TPersistent* source)
{
    if (auto* strings = dynamic_cast<TStrings*>(source)) {
        BeginUpdate();
        Clear();
        AddStrings(strings);
        EndUpdate();
        return;
    }
    TPersistent::Assign(source);
}

void TStrings::BeginUpdate()
{
    if (updateCount_ == 0)
        SetUpdateState(true);
    ++updateCount_;
}

void TStrings::EndUpdate()
{
    --updateCount_;
    if (updateCount_ == 0)
        SetUpdateState(false);
}

void TStrings::LoadFromStream(TStream* stream)
{
    int size = stream->Size() - stream->Position();
    AnsiString text;
    text.SetLength(size > 0 ? size : 0);
    if (size > 0)
        text.SetLength(stream->Read(text.data(), size));
    SetText(text);
}

void TStrings::SaveToStream(TStream* stream) const
{
    AnsiString text = Text();
    stream->WriteBuffer(text.data(), text.Length());
}

void TStrings::LoadFromFile(const AnsiString& fileName)
{
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TStrings::SaveToFile(const AnsiString& fileName) const
{
    TFileStream stream(fileName, fmCreate);
    SaveToStream(&stream);
}

// ---------------------------------------------------------------------------------------
// TStringList

void TStringList::CheckIndex(int index) const
{
    if (index < 0 || index >= GetCount())
        Error(SListIndexError, index);
}

AnsiString TStringList::Get(int index) const
{
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)].text;
}

TObject* TStringList::GetObject(int index) const
{
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)].object;
}

void TStringList::Changed()
{
    if (UpdateCount() == 0)
        onChange_(this);
}

void TStringList::Changing()
{
    if (UpdateCount() == 0)
        onChanging_(this);
}

void TStringList::SetUpdateState(bool updating)
{
    if (updating)
        Changing();
    else
        Changed();
}

int TStringList::Add(const AnsiString& s)
{
    int index = GetCount();
    if (sorted_ && Find(s, index)) {
        if (duplicates_ == dupIgnore)
            return index;
        if (duplicates_ == dupError)
            Error(SDuplicateString, 0);
    }
    InsertItem(index, s);
    return index;
}

void TStringList::InsertItem(int index, const AnsiString& s)
{
    Changing();
    items_.insert(items_.begin() + index, Item{s, nullptr});
    Changed();
}

void TStringList::Insert(int index, const AnsiString& s)
{
    if (sorted_)
        Error(SSortedListError, 0);
    if (index < 0 || index > GetCount())
        Error(SListIndexError, index);
    InsertItem(index, s);
}

void TStringList::Delete(int index)
{
    CheckIndex(index);
    Changing();
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Clear()
{
    if (items_.empty())
        return;
    Changing();
    items_.clear();
    Changed();
}

void TStringList::Exchange(int index1, int index2)
{
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    std::swap(items_[static_cast<std::size_t>(index1)], items_[static_cast<std::size_t>(index2)]);
    Changed();
}

void TStringList::Move(int curIndex, int newIndex)
{
    // Checked before anything is removed, so a refused move loses no line.
    if (curIndex == newIndex)
        return;
    if (sorted_)
        Error(SSortedListError, 0);
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    TStrings::Move(curIndex, newIndex);
}

void TStringList::Put(int index, const AnsiString& s)
{
    if (sorted_)
        Error(SSortedListError, 0);
    CheckIndex(index);
    Changing();
    items_[static_cast<std::size_t>(index)].text = s;
    Changed();
}

void TStringList::PutObject(int index, TObject* object)
{
    CheckIndex(index);
    Changing();
    items_[static_cast<std::size_t>(index)].object = object;
    Changed();
}

bool TStringList::Find(const AnsiString& s, int& index) const
{
    bool found = false;
    int l = 0;
    int h = GetCount() - 1;
    while (l <= h) {
        int i = (l + h) / 2;
        int c = AnsiCompareText(items_[static_cast<std::size_t>(i)].text, s);
        if (c < 0) {
            l = i + 1;
        } else {
            h = i - 1;
            if (c == 0) {
                found = true;
                if (duplicates_ != dupAccept)
                    l = i;
            }
        }
    }
    index = l;
    return found;
}

int TStringList::IndexOf(const AnsiString& s) const
{
    if (!sorted_)
        return TStrings::IndexOf(s);
    int index = -1;
    return Find(s, index) ? index : -1;
}

void TStringList::QuickSort(int l, int r, TStringListSortCompare compare)
{
    int i = l;
    do {
        i = l;
        int j = r;
        int p = (l + r) / 2;
        do {
            while (compare(this, i, p) < 0)
                ++i;
            while (compare(this, j, p) > 0)
                --j;
            if (i <= j) {
                std::swap(items_[static_cast<std::size_t>(i)], items_[static_cast<std::size_t>(j)]);
                if (p == i)
                    p = j;
                else if (p == j)
                    p = i;
                ++i;
                --j;
            }
        } while (i <= j);
        if (l < j)
            QuickSort(l, j, compare);
        l = i;
    } while (i < r);
}

void TStringList::CustomSort(TStringListSortCompare compare)
{
    if (sorted_ || GetCount() < 2)
        return;
    Changing();
    QuickSort(0, GetCount() - 1, compare);
    Changed();
}

void TStringList::Sort()
{
    CustomSort([](TStringList* list, int a, int b) {
        return AnsiCompareText(list->items_[static_cast<std::size_t>(a)].text,
                               list->items_[static_cast<std::size_t>(b)].text);
    });
}

void TStringList::SetSorted(bool value)
{
    if (sorted_ == value)
        return;
    if (value)
        Sort();
    sorted_ = value;
}

void TStringList::SetCapacity(int capacity)
{
    if (capacity >= GetCount())
        items_.reserve(static_cast<std::size_t>(capacity));
}
