#include "platform/classlib/Classes.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

bool IsPlain(char c)
{
    auto u = static_cast<unsigned char>(c);
    return u >= ' ' && u < 0x7F && c != '\'';
}

AnsiString QuoteString(const AnsiString& s)
{
    if (s.IsEmpty())
        return "''";
    AnsiString out;
    bool open = false;
    for (int i = 1; i <= s.Length(); ++i) {
        char c = s[i];
        bool literal = IsPlain(c) || c == '\'';
        if (literal != open) {
            out += '\'';
            open = literal;
        }
        if (c == '\'')
            out += "''";
        else if (literal)
            out += c;
        else
            out += "#" + IntToStr(static_cast<unsigned char>(c));
    }
    if (open)
        out += '\'';
    return out;
}

// The shortest text that reads back as the same double, whatever the C locale says. A
// whole number gets ".0": without a point or exponent it would read back as an integer
// (-0 losing its sign, 1e20 out of the integer range).
AnsiString FloatText(double value)
{
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer - 2, value);
    if (std::isfinite(value) && std::find_if(buffer, result.ptr, [](char c) { return c == '.' || c == 'e'; }) == result.ptr) {
        *result.ptr++ = '.';
        *result.ptr++ = '0';
    }
    return AnsiString(buffer, static_cast<std::size_t>(result.ptr - buffer));
}

constexpr int kBytesPerLine = 32;

} // namespace

void TWriter::Emit(const AnsiString& text) { stream_->WriteBuffer(text.data(), text.Length()); }

void TWriter::NewLine() { Emit("\r\n"); }

void TWriter::Indent(int extra) { Emit(StringOfChar(' ', 2 * (level_ + extra))); }

void TWriter::BeginValue()
{
    FlushBinary();
    if (listDepth_ > 0) {
        NewLine();
        Indent(1 + listDepth_);
    }
}

void TWriter::FlushBinary()
{
    if (binary_.empty())
        return;
    std::vector<char> bytes;
    bytes.swap(binary_);
    if (listDepth_ > 0) {
        NewLine();
        Indent(1 + listDepth_);
    }
    Emit("{");
    int lineIndent = 2 + listDepth_;
    static const char kHex[] = "0123456789ABCDEF";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i % kBytesPerLine == 0) {
            NewLine();
            Indent(lineIndent);
        }
        auto b = static_cast<unsigned char>(bytes[i]);
        char pair[2] = {kHex[b >> 4], kHex[b & 15]};
        Emit(AnsiString(pair, 2));
    }
    Emit("}");
}

void TWriter::WritePropName(const AnsiString& name)
{
    Indent(1);
    Emit(propPath_ + name + " = ");
}

void TWriter::EndProperty()
{
    FlushBinary();
    NewLine();
}

// ---------------------------------------------------------------------------------------
// Values

void TWriter::WriteListBegin()
{
    BeginValue();
    Emit("(");
    ++listDepth_;
}

void TWriter::WriteListEnd()
{
    FlushBinary();
    --listDepth_;
    Emit(")");
}

void TWriter::WriteInteger(std::int64_t value)
{
    BeginValue();
    Emit(IntToStr(value));
}

void TWriter::WriteString(const AnsiString& value)
{
    BeginValue();
    Emit(QuoteString(value));
}

void TWriter::WriteIdent(const AnsiString& ident)
{
    BeginValue();
    Emit(ident);
}

void TWriter::WriteBoolean(bool value) { WriteIdent(value ? "True" : "False"); }

void TWriter::WriteFloat(double value)
{
    BeginValue();
    Emit(FloatText(value));
}

void TWriter::WriteChar(char value) { WriteString(AnsiString(value)); }

void TWriter::Write(const void* buffer, int count)
{
    const char* bytes = static_cast<const char*>(buffer);
    binary_.insert(binary_.end(), bytes, bytes + (count > 0 ? count : 0));
}

// ---------------------------------------------------------------------------------------
// Properties

void TWriter::DefineProperty(const AnsiString& name, TReaderProc, TWriterProc writeData, bool hasData)
{
    if (!hasData || !writeData)
        return;
    WritePropName(name);
    writeData(this);
    EndProperty();
}

void TWriter::DefineBinaryProperty(const AnsiString& name, TStreamProc, TStreamProc writeData, bool hasData)
{
    if (!hasData || !writeData)
        return;
    TMemoryStream data;
    writeData(&data);
    WritePropName(name);
    Write(data.Memory(), data.Size());
    if (binary_.empty())
        Emit("{}");
    EndProperty();
}

namespace {

// Values the reader can give back: those with a setter, and objects read in place (the
// sub-properties of a persistent object, the items of a collection).
bool IsReadBack(TPersistent* instance, PPropInfo prop)
{
    if (prop->IsWritable())
        return true;
    if (prop->Kind() != tkClass)
        return false;
    TObject* value = GetObjectProp(instance, prop);
    return dynamic_cast<TPersistent*>(value) && !dynamic_cast<TComponent*>(value);
}

} // namespace

void TWriter::WriteProperties(TPersistent* instance)
{
    for (PPropInfo prop : GetPropList(instance->ClassType()))
        if (IsStoredProp(instance, prop) && IsReadBack(instance, prop))
            WriteProperty(instance, prop);
    CallDefineProperties(instance, this);
}

void TWriter::WriteOrdinal(TPersistent* instance, PPropInfo prop)
{
    std::int64_t value = GetOrdProp(instance, prop);
    if (prop->HasDefault && value == prop->Default)
        return;
    WritePropName(prop->Name);
    AnsiString ident;
    switch (prop->Kind()) {
    case tkEnumeration:
        Emit(GetEnumName(prop->PropType, static_cast<int>(value)));
        break;
    case tkSet: {
        PTypeInfo element = prop->PropType->CompType ? prop->PropType->CompType() : nullptr;
        AnsiString text("[");
        for (int bit = 0; bit < 32; ++bit) {
            if (!(static_cast<std::uint32_t>(value) & (std::uint32_t{1} << bit)))
                continue;
            if (text.Length() > 1)
                text += ", ";
            text += GetEnumName(element, bit);
        }
        Emit(text + "]");
        break;
    }
    case tkChar:
        Emit(QuoteString(AnsiString(static_cast<char>(value))));
        break;
    default:
        if (prop->PropType->IntToIdent && prop->PropType->IntToIdent(value, ident))
            Emit(ident);
        else
            Emit(IntToStr(value));
    }
    EndProperty();
}

AnsiString TWriter::ReferenceName(TComponent* component) const
{
    if (component == root_ || component->Owner() == root_ || !component->Owner())
        return component->Name();
    return component->Owner()->Name() + "." + component->Name();
}

void TWriter::WriteObjectProperty(TPersistent* instance, PPropInfo prop)
{
    TObject* value = GetObjectProp(instance, prop);
    if (auto* component = dynamic_cast<TComponent*>(value)) {
        if (component->Name().IsEmpty())
            return;
        WritePropName(prop->Name);
        Emit(ReferenceName(component));
        EndProperty();
    } else if (auto* collection = dynamic_cast<TCollection*>(value)) {
        WritePropName(prop->Name);
        WriteCollection(collection);
        EndProperty();
    } else if (auto* persistent = dynamic_cast<TPersistent*>(value)) {
        AnsiString oldPath = propPath_;
        propPath_ = oldPath + prop->Name + ".";
        WriteProperties(persistent);
        propPath_ = oldPath;
    }
}

void TWriter::WriteMethodProperty(TPersistent* instance, PPropInfo prop)
{
    TMethod method = GetMethodProp(instance, prop);
    if (!method.Assigned() || method.Data != root_)
        return;
    AnsiString name = root_->MethodName(method.Code);
    if (name.IsEmpty())
        return;
    WritePropName(prop->Name);
    Emit(name);
    EndProperty();
}

void TWriter::WriteProperty(TPersistent* instance, PPropInfo prop)
{
    switch (prop->Kind()) {
    case tkInteger:
    case tkInt64:
    case tkChar:
    case tkEnumeration:
    case tkSet:
        WriteOrdinal(instance, prop);
        break;
    case tkFloat: {
        double value = GetFloatProp(instance, prop);
        if (!IsDefaultFloatValue(prop, value)) {
            WritePropName(prop->Name);
            Emit(FloatText(value));
            EndProperty();
        }
        break;
    }
    case tkString:
    case tkLString:
    case tkWString: {
        AnsiString value = GetStrProp(instance, prop);
        if (!value.IsEmpty()) {
            WritePropName(prop->Name);
            Emit(QuoteString(value));
            EndProperty();
        }
        break;
    }
    case tkClass:
        WriteObjectProperty(instance, prop);
        break;
    case tkMethod:
        WriteMethodProperty(instance, prop);
        break;
    default:
        break;
    }
}

void TWriter::WriteCollection(TCollection* collection)
{
    BeginValue();
    Emit("<");
    AnsiString oldPath = propPath_;
    propPath_ = AnsiString();
    // Items one step inside the property, their properties one more.
    ++level_;
    for (int i = 0; i < collection->Count(); ++i) {
        NewLine();
        Indent(1);
        Emit("item");
        NewLine();
        ++level_;
        WriteProperties(collection->Items(i));
        --level_;
        Indent(1);
        Emit("end");
    }
    --level_;
    propPath_ = oldPath;
    Emit(">");
}

// ---------------------------------------------------------------------------------------
// Components

void TWriter::WriteData(TComponent* instance)
{
    Indent();
    AnsiString header = "object " + (instance->Name().IsEmpty() ? AnsiString() : instance->Name() + ": ");
    Emit(header + instance->ClassName());
    NewLine();
    WriteProperties(instance);
    ++level_;
    instance->GetChildren([this](TComponent* child) { WriteComponent(child); }, root_);
    --level_;
    Indent();
    Emit("end");
    NewLine();
}

void TWriter::WriteComponent(TComponent* component)
{
    component->IncludeState(csWriting);
    try {
        component->WriteState(this);
    } catch (...) {
        component->ExcludeState(csWriting);
        throw;
    }
    component->ExcludeState(csWriting);
}

void TWriter::WriteRootComponent(TComponent* root)
{
    root_ = root;
    WriteComponent(root);
}

void TComponent::WriteState(TWriter* writer) { writer->WriteData(this); }

void TStream::WriteComponent(TComponent* instance)
{
    TWriter writer(this);
    writer.WriteRootComponent(instance);
}

// ---------------------------------------------------------------------------------------
// TStrings stores its lines as the list "Strings".

void TStrings::DefineProperties(TFiler* filer)
{
    filer->DefineProperty(
        "Strings",
        [this](TReader* reader) {
            BeginUpdate();
            try {
                Clear();
                reader->ReadListBegin();
                while (!reader->EndOfList())
                    Add(reader->ReadString());
                reader->ReadListEnd();
            } catch (...) {
                EndUpdate();
                throw;
            }
            EndUpdate();
        },
        [this](TWriter* writer) {
            writer->WriteListBegin();
            for (int i = 0; i < Count(); ++i)
                writer->WriteString(Get(i));
            writer->WriteListEnd();
        },
        Count() > 0);
}
