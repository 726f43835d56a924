#include "platform/classlib/Classes.h"


#include <charconv>
#include <cmath>
#include <string>
#include <cstdlib>
#include <cstring>

namespace {

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9') || c == '.'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Runs a cleanup when the scope ends, however it ends.
template <class F>
struct TScopeExit {
    F f;
    ~TScopeExit() { f(); }
};
template <class F>
TScopeExit(F) -> TScopeExit<F>;

} // namespace

TReader::TReader(TStream* stream) : TFiler(stream)
{
    int size = stream->Size() - stream->Position();
    if (size > 0) {
        text_.SetLength(size);
        text_.SetLength(stream->Read(text_.data(), size));
    }
}

TReader::~TReader() = default;

void TReader::Error(const AnsiString& message) const
{
    raised_ = true;
    throw EReadError("Error reading form description at line " + IntToStr(line_) + ": " + message);
}

// ---------------------------------------------------------------------------------------
// Lexical level

void TReader::SkipBlanks()
{
    while (pos_ <= text_.Length() && static_cast<unsigned char>(text_[pos_]) <= ' ') {
        if (text_[pos_] == '\n')
            ++line_;
        ++pos_;
    }
}

char TReader::Peek()
{
    SkipBlanks();
    return pos_ <= text_.Length() ? text_[pos_] : '\0';
}

void TReader::Expect(char c)
{
    if (Peek() != c)
        Error(AnsiString("'") + c + "' expected");
    ++pos_;
}

bool TReader::AtKeyword(const char* keyword)
{
    SkipBlanks();
    int n = static_cast<int>(std::strlen(keyword));
    if (!SameText(Copy(text_, pos_, n), keyword))
        return false;
    return pos_ + n > text_.Length() || !IsIdentChar(text_[pos_ + n]);
}

void TReader::ExpectKeyword(const char* keyword)
{
    if (!AtKeyword(keyword))
        Error(AnsiString("'") + keyword + "' expected");
    pos_ += static_cast<int>(std::strlen(keyword));
}

bool TReader::AtObjectStart() { return AtKeyword("object") || AtKeyword("inherited") || AtKeyword("inline"); }

AnsiString TReader::ReadName()
{
    if (!IsIdentStart(Peek()))
        Error("identifier expected");
    int start = pos_;
    while (pos_ <= text_.Length() && IsIdentChar(text_[pos_]))
        ++pos_;
    return Copy(text_, start, pos_ - start);
}

TReader::Header TReader::ReadHeader()
{
    if (!AtObjectStart())
        Error("'object' expected");
    ReadName();
    Header header;
    header.className = ReadName();
    if (Peek() == ':') {
        ++pos_;
        header.name = header.className;
        header.className = ReadName();
    }
    return header;
}

// ---------------------------------------------------------------------------------------
// Values

TValueType TReader::NextValue()
{
    char c = Peek();
    switch (c) {
    case '\'':
    case '#':
        return vaString;
    case '(':
        return vaList;
    case '[':
        return vaSet;
    case '<':
        return vaCollection;
    case '{':
        return vaBinary;
    case ')':
    case ']':
    case '>':
    case '\0':
        return vaNull;
    default:
        break;
    }
    if (IsDigit(c) || c == '-' || c == '+' || c == '$') {
        int save = pos_;
        int line = line_;
        AnsiString number = ReadNumberText();
        pos_ = save;
        line_ = line;
        bool isFloat = Pos(".", number) || Pos("E", UpperCase(number));
        return isFloat && number[1] != '$' ? vaExtended : vaInt32;
    }
    if (IsIdentStart(c)) {
        if (AtKeyword("True"))
            return vaTrue;
        if (AtKeyword("False"))
            return vaFalse;
        if (AtKeyword("nil"))
            return vaNil;
        return vaIdent;
    }
    Error(AnsiString("unexpected character '") + c + "'");
}

bool TReader::EndOfList() { return NextValue() == vaNull; }

void TReader::ReadListBegin() { Expect('('); }

void TReader::ReadListEnd() { Expect(')'); }

AnsiString TReader::ReadNumberText()
{
    SkipBlanks();
    int start = pos_;
    auto at = [&](int i) { return i <= text_.Length() ? text_[i] : '\0'; };
    if (at(pos_) == '-' || at(pos_) == '+')
        ++pos_;
    if (at(pos_) == '$') {
        ++pos_;
        while (HexValue(at(pos_)) >= 0)
            ++pos_;
        return Copy(text_, start, pos_ - start);
    }
    while (IsDigit(at(pos_)))
        ++pos_;
    if (at(pos_) == '.' && IsDigit(at(pos_ + 1))) {
        ++pos_;
        while (IsDigit(at(pos_)))
            ++pos_;
    }
    if ((at(pos_) == 'E' || at(pos_) == 'e') &&
        (IsDigit(at(pos_ + 1)) || ((at(pos_ + 1) == '-' || at(pos_ + 1) == '+') && IsDigit(at(pos_ + 2))))) {
        pos_ += 2;
        while (IsDigit(at(pos_)))
            ++pos_;
    }
    return Copy(text_, start, pos_ - start);
}

std::int64_t TReader::ReadInt64()
{
    if (NextValue() != vaInt32)
        Error("integer expected");
    AnsiString number = ReadNumberText();
    bool negative = number[1] == '-';
    int i = (number[1] == '-' || number[1] == '+') ? 2 : 1;
    bool hex = i <= number.Length() && number[i] == '$';
    if (hex)
        ++i;
    if (i > number.Length())
        Error("integer expected");
    std::uint64_t value = 0;
    for (; i <= number.Length(); ++i) {
        std::uint64_t digit = static_cast<std::uint64_t>(hex ? HexValue(number[i]) : number[i] - '0');
        std::uint64_t base = hex ? 16 : 10;
        if (value > (UINT64_MAX - digit) / base)
            Error("integer out of range: " + number);
        value = value * base + digit;
    }
    if (!hex && value > static_cast<std::uint64_t>(INT64_MAX) + (negative ? 1 : 0))
        Error("integer out of range: " + number);
    auto signedValue = static_cast<std::int64_t>(value);
    return negative ? static_cast<std::int64_t>(0 - value) : signedValue;
}

int TReader::ReadInteger()
{
    std::int64_t value = ReadInt64();
    // Hexadecimal constants name 32-bit patterns ($FFFFFFFF is -1).
    if (value > INT32_MAX && value <= static_cast<std::int64_t>(UINT32_MAX))
        value = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    if (value < INT32_MIN || value > INT32_MAX)
        Error("integer out of range: " + IntToStr(value));
    return static_cast<int>(value);
}

double TReader::ReadFloat()
{
    TValueType type = NextValue();
    if (type != vaExtended && type != vaInt32)
        Error("number expected");
    const int save = pos_;
    const int line = line_;
    AnsiString number = ReadNumberText();
    // Hexadecimal constants are integers: the integer reader checks their digits and range.
    if (number[1] == '$') {
        pos_ = save;
        line_ = line;
        return static_cast<double>(ReadInt64());
    }
    const char* first = number.c_str() + (number[1] == '+' ? 1 : 0);
    const char* last = number.c_str() + number.Length();
    double value = 0;
    const std::from_chars_result result = std::from_chars(first, last, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too small to tell from 0 reads as 0; too large for a float is an error.
        value = std::strtod(std::string(first, last).c_str(), nullptr);
        if (std::isinf(value))
            Error("float out of range: " + number);
    } else if (result.ec != std::errc() || result.ptr != last) {
        Error("invalid float: " + number);
    }
    // A type suffix (currency, date, single) may follow a float.
    if (pos_ <= text_.Length() && std::strchr("cdstCDST", text_[pos_]) && text_[pos_] != '\0')
        ++pos_;
    return value;
}

AnsiString TReader::ReadString()
{
    if (NextValue() != vaString)
        Error("string expected");
    AnsiString value;
    for (;;) {
        char c = pos_ <= text_.Length() ? text_[pos_] : '\0';
        if (c == '\'') {
            ++pos_;
            for (;;) {
                if (pos_ > text_.Length() || text_[pos_] == '\n' || text_[pos_] == '\r')
                    Error("unterminated string");
                if (text_[pos_] == '\'') {
                    if (pos_ < text_.Length() && text_[pos_ + 1] == '\'') {
                        value += '\'';
                        pos_ += 2;
                        continue;
                    }
                    ++pos_;
                    break;
                }
                value += text_[pos_++];
            }
        } else if (c == '#') {
            ++pos_;
            std::int64_t code = -1;
            if (pos_ <= text_.Length() && (IsDigit(text_[pos_]) || text_[pos_] == '$'))
                code = ReadInt64();
            if (code < 0 || code > 255)
                Error("character code out of range");
            value += static_cast<char>(code);
        } else {
            // Pieces joined by "+" (possibly across lines).
            int save = pos_;
            int line = line_;
            if (Peek() == '+') {
                ++pos_;
                char next = Peek();
                if (next == '\'' || next == '#')
                    continue;
                Error("string expected after '+'");
            }
            pos_ = save;
            line_ = line;
            break;
        }
    }
    return value;
}

char TReader::ReadChar()
{
    AnsiString s = ReadString();
    if (s.Length() != 1)
        Error("character expected");
    return s[1];
}

AnsiString TReader::ReadIdent()
{
    TValueType type = NextValue();
    if (type != vaIdent && type != vaTrue && type != vaFalse && type != vaNil)
        Error("identifier expected");
    return ReadName();
}

bool TReader::ReadBoolean()
{
    TValueType type = NextValue();
    if (type != vaTrue && type != vaFalse)
        Error("True or False expected");
    ReadName();
    return type == vaTrue;
}

std::vector<char> TReader::ReadBinary()
{
    Expect('{');
    std::vector<char> bytes;
    int high = -1;
    for (;;) {
        char c = Peek();
        if (c == '}') {
            ++pos_;
            break;
        }
        int v = HexValue(c);
        if (v < 0)
            Error("hexadecimal digit or '}' expected");
        ++pos_;
        if (high < 0) {
            high = v;
        } else {
            bytes.push_back(static_cast<char>(high * 16 + v));
            high = -1;
        }
    }
    if (high >= 0)
        Error("odd count of hexadecimal digits");
    return bytes;
}

void TReader::Read(void* buffer, int count)
{
    auto* out = static_cast<char*>(buffer);
    // What is left of a block once another value was read belongs to no later read.
    SkipBlanks();
    if (pos_ != binaryEnd_)
        binaryPos_ = binary_.size();
    while (count > 0) {
        if (binaryPos_ >= binary_.size()) {
            if (NextValue() != vaBinary)
                Error("binary data too short");
            binary_ = ReadBinary();
            binaryPos_ = 0;
            SkipBlanks();
            binaryEnd_ = pos_;
            continue;
        }
        std::size_t n = std::min(static_cast<std::size_t>(count), binary_.size() - binaryPos_);
        std::memcpy(out, binary_.data() + binaryPos_, n);
        binaryPos_ += n;
        out += n;
        count -= static_cast<int>(n);
    }
}

std::uint32_t TReader::ReadSet(PTypeInfo setType)
{
    PTypeInfo element = setType->CompType ? setType->CompType() : nullptr;
    Expect('[');
    std::uint32_t mask = 0;
    while (Peek() != ']') {
        AnsiString name = ReadIdent();
        int value = GetEnumValue(element, name);
        if (value < 0 || value > 31)
            Error("invalid set element " + name);
        mask |= std::uint32_t{1} << value;
        if (Peek() == ',')
            ++pos_;
        else if (Peek() != ']')
            Error("',' or ']' expected");
    }
    ++pos_;
    return mask;
}

// ---------------------------------------------------------------------------------------
// Properties
//
// What a description that reads without an error means: every value it gives is the
// value the object holds afterwards. A value a setter would drop or change is refused
// with the reader's error naming the line, "Invalid property value <v> for <name>":
// - integer properties declare the values they take (TPropertyBuilder::ReadRange), for
//   instance a control's Width and Height (0 and more), an image-strip item's Width and
//   Height (1 and more), the image and list indexes of the library's image-list triples
//   (0 and more; their setters ignore negative indexes), the caret's 16-bit sizes;
// - a defined property (binary block or list) that its reader refuses names the
//   property and the line of its value, with the refusal's own text after it.
// Values the class library keeps as given are taken (an index beyond the list's end,
// the form shape's indexes). A property given twice in one object is set twice: the
// last value wins, as in the class library.

void TReader::ReadProperty(TPersistent* instance)
{
    AnsiString path = ReadName();
    Expect('=');
    // "Font.Name": every part but the last names a class-typed property holding an object.
    AnsiString name = path;
    for (int dot = Pos(".", name); dot > 0; dot = Pos(".", name)) {
        PPropInfo prop = GetPropInfo(instance, Copy(name, 1, dot - 1));
        TObject* sub = prop && prop->Kind() == tkClass ? GetObjectProp(instance, prop) : nullptr;
        auto* persistent = dynamic_cast<TPersistent*>(sub);
        if (!persistent)
            Error("Property " + path + " does not exist");
        instance = persistent;
        name = Copy(name, dot + 1, name.Length());
    }
    if (PPropInfo prop = GetPropInfo(instance, name)) {
        ReadPropValue(instance, prop);
        return;
    }
    propName_ = name;
    propPath_ = path;
    CallDefineProperties(instance, this);
    if (!propName_.IsEmpty())
        Error("Property " + path + " does not exist");
}

void TReader::ReadPropValue(TPersistent* instance, PPropInfo prop)
{
    // A collection is filled in place, so its property needs no setter.
    if (!prop->IsWritable() && !(prop->Kind() == tkClass && NextValue() == vaCollection))
        Error("Property " + prop->Name + " is read-only");
    switch (prop->Kind()) {
    case tkInteger:
    case tkInt64: {
        std::int64_t value = 0;
        if (NextValue() == vaIdent) {
            AnsiString ident = ReadIdent();
            if (!prop->PropType->IdentToInt || !prop->PropType->IdentToInt(ident, value))
                Error("Invalid property value " + ident + " for " + prop->Name);
        } else {
            value = prop->Kind() == tkInt64 ? ReadInt64() : ReadInteger();
        }
        if (value < prop->ReadMin || value > prop->ReadMax)
            Error("Invalid property value " + IntToStr(value) + " for " + prop->Name);
        SetOrdProp(instance, prop, value);
        break;
    }
    case tkChar:
        SetOrdProp(instance, prop, static_cast<unsigned char>(ReadChar()));
        break;
    case tkEnumeration: {
        AnsiString ident = ReadIdent();
        int value = GetEnumValue(prop->PropType, ident);
        if (value < 0)
            Error("Invalid property value " + ident + " for " + prop->Name);
        SetOrdProp(instance, prop, value);
        break;
    }
    case tkSet:
        SetOrdProp(instance, prop, ReadSet(prop->PropType));
        break;
    case tkFloat:
        SetFloatProp(instance, prop, ReadFloat());
        break;
    case tkString:
    case tkLString:
    case tkWString:
        SetStrProp(instance, prop, ReadString());
        break;
    case tkClass:
        ReadObjectValue(instance, prop);
        break;
    case tkMethod:
        ReadMethodValue(instance, prop);
        break;
    default:
        Error("Property " + prop->Name + " cannot be read");
    }
}

void TReader::ReadObjectValue(TPersistent* instance, PPropInfo prop)
{
    TValueType type = NextValue();
    if (type == vaCollection) {
        auto* collection = dynamic_cast<TCollection*>(GetObjectProp(instance, prop));
        if (!collection)
            Error("Property " + prop->Name + " is not a collection");
        ReadCollection(collection);
    } else if (type == vaNil) {
        ReadIdent();
        SetObjectProp(instance, prop, nullptr);
    } else if (type == vaIdent) {
        fixups_.push_back(Fixup{instance, prop, ReadIdent()});
    } else {
        Error("Invalid property value for " + prop->Name);
    }
}

void TReader::ReadMethodValue(TPersistent* instance, PPropInfo prop)
{
    TValueType type = NextValue();
    if (type == vaNil) {
        ReadIdent();
        SetMethodProp(instance, prop, TMethod{});
        return;
    }
    AnsiString name = ReadIdent();
    const TPublishedMethod* method = root_ ? root_->ClassType()->FindMethod(name) : nullptr;
    if (!method)
        Error("Method " + name + " not found");
    if (method->Signature != prop->PropType->Signature)
        Error("Method " + name + " does not fit event " + prop->Name);
    SetMethodProp(instance, prop, TMethod{root_, method->Code, method->Signature});
}

// A defined property's reader that refuses its value raises an error of its own (the
// stream's read error, say); the reader passes it on with the property's name and the
// line the value starts on, as for its own refusals. Errors the reader raised itself
// while the property read its value already name their line and pass unchanged.
void TReader::ReadDefined(const AnsiString& name, const std::function<void()>& read)
{
    const int line = line_;
    const AnsiString path = propPath_.IsEmpty() ? name : propPath_;
    raised_ = false;
    try {
        read();
    } catch (const Exception& e) {
        if (raised_)
            throw;
        line_ = line;
        Error("Invalid property value for " + path + ": " + e.Message());
    }
}

void TReader::DefineProperty(const AnsiString& name, TReaderProc readData, TWriterProc, bool)
{
    if (!propName_.IsEmpty() && readData && SameText(name, propName_)) {
        propName_ = AnsiString();
        ReadDefined(name, [&] { readData(this); });
    }
}

void TReader::DefineBinaryProperty(const AnsiString& name, TStreamProc readData, TStreamProc, bool)
{
    if (!propName_.IsEmpty() && readData && SameText(name, propName_)) {
        propName_ = AnsiString();
        if (NextValue() != vaBinary)
            Error("binary data expected for " + name);
        const int line = line_;
        std::vector<char> bytes = ReadBinary();
        TMemoryStream data;
        data.WriteBuffer(bytes.data(), static_cast<int>(bytes.size()));
        data.SetPosition(0);
        const int end = line_;
        line_ = line;
        ReadDefined(name, [&] { readData(&data); });
        line_ = end;
    }
}

void TReader::ReadCollection(TCollection* collection)
{
    Expect('<');
    collection->BeginUpdate();
    TScopeExit endUpdate{[collection] { collection->EndUpdate(); }};
    collection->Clear();
    while (Peek() != '>') {
        if (NextValue() == vaInt32)
            ReadInteger(); // the item's order, which its place already gives
        ExpectKeyword("item");
        TCollectionItem* item = collection->Add();
        while (!AtKeyword("end"))
            ReadProperty(item);
        ExpectKeyword("end");
    }
    ++pos_;
}

// ---------------------------------------------------------------------------------------
// Components

void TReader::ReadData(TComponent* instance)
{
    while (!AtObjectStart() && !AtKeyword("end")) {
        if (Peek() == '\0')
            Error("'end' expected");
        ReadProperty(instance);
    }
    TComponent* oldOwner = owner_;
    TComponent* oldParent = parent_;
    TScopeExit restore{[&] {
        owner_ = oldOwner;
        parent_ = oldParent;
    }};
    parent_ = instance->GetChildParent();
    owner_ = instance->GetChildOwner();
    if (!owner_)
        owner_ = root_;
    while (AtObjectStart())
        ReadComponent(nullptr);
    ExpectKeyword("end");
}

TComponent* TReader::ReadComponent(TComponent* component)
{
    const bool alone = depth_ == 0;
    ++depth_;
    TScopeExit leave{[this] { --depth_; }};
    Header header = ReadHeader();
    bool created = component == nullptr;
    if (created) {
        TClass cls = GetClass(header.className);
        if (!cls || !cls->InheritsFrom(TComponent::StaticClass()))
            Error("Class " + header.className + " not found");
        component = static_cast<TComponent*>(cls->Create(owner_));
    }
    std::size_t loadedMark = loaded_.size();
    std::size_t fixupMark = fixups_.size();
    try {
        component->IncludeState(csLoading);
        if (!header.name.IsEmpty())
            component->SetName(header.name);
        component->IncludeState(csReading);
        component->ReadState(this);
        component->ExcludeState(csReading);
        loaded_.insert(loaded_.begin() + static_cast<std::ptrdiff_t>(loadedMark), component);
        if (alone) {
            // Nothing around this read finishes it: references and Loaded are done here.
            TComponent* oldRoot = root_;
            TScopeExit restoreRoot{[&] { root_ = oldRoot; }};
            if (!root_)
                root_ = owner_ ? owner_ : component;
            FinishLoading();
        }
    } catch (const Exception& e) {
        // What was read of the component and its children is no longer being loaded.
        for (std::size_t i = loadedMark; i < loaded_.size(); ++i) {
            loaded_[i]->ExcludeState(csReading);
            loaded_[i]->ExcludeState(csLoading);
        }
        AbandonFrom(loadedMark, fixupMark);
        component->ExcludeState(csReading);
        component->ExcludeState(csLoading);
        if (created)
            component->Free();
        if (dynamic_cast<const EFilerError*>(&e))
            throw;
        Error(e.Message());
    }
    return component;
}

void TReader::AbandonFrom(std::size_t loaded, std::size_t fixups)
{
    if (loaded_.size() > loaded)
        loaded_.resize(loaded);
    if (fixups_.size() > fixups)
        fixups_.resize(fixups);
}

TComponent* TReader::FindReference(const AnsiString& name) const
{
    if (SameText(name, root_->Name()))
        return root_;
    int dot = Pos(".", name);
    if (dot == 0)
        return root_->FindComponent(name);
    TComponent* base = SameText(Copy(name, 1, dot - 1), root_->Name()) ? root_ : root_->FindComponent(Copy(name, 1, dot - 1));
    return base ? base->FindComponent(Copy(name, dot + 1, name.Length())) : nullptr;
}

void TReader::FixupReferences()
{
    std::vector<Fixup> fixups;
    fixups.swap(fixups_);
    for (const Fixup& f : fixups)
        if (TComponent* target = FindReference(f.name))
            SetObjectProp(f.instance, f.prop, target);
}

void TReader::FinishLoading()
{
    FixupReferences();
    std::vector<TComponent*> loaded;
    loaded.swap(loaded_);
    for (TComponent* c : loaded)
        c->Loaded();
}

TComponent* TReader::ReadRootComponent(TComponent* root)
{
    Header header = ReadHeader();
    bool created = root == nullptr;
    if (created) {
        TClass cls = GetClass(header.className);
        if (!cls || !cls->InheritsFrom(TComponent::StaticClass()))
            Error("Class " + header.className + " not found");
        root = static_cast<TComponent*>(cls->Create(nullptr));
    }
    root_ = root;
    owner_ = root;
    parent_ = nullptr;
    ++depth_;
    TScopeExit leave{[this] { --depth_; }};
    try {
        root->IncludeState(csLoading);
        root->IncludeState(csReading);
        if (!header.name.IsEmpty() && !root->ComponentState().Contains(csDesigning))
            root->SetName(header.name);
        loaded_.push_back(root);
        root->ReadState(this);
        root->ExcludeState(csReading);
        if (Peek() != '\0')
            Error("text after the final 'end'");
        FinishLoading();
        root->ReadingFinished();
    } catch (...) {
        for (TComponent* c : loaded_) {
            c->ExcludeState(csReading);
            c->ExcludeState(csLoading);
        }
        AbandonFrom(0, 0);
        if (created)
            root->Free();
        try {
            throw;
        } catch (const EFilerError&) {
            throw;
        } catch (const Exception& e) {
            Error(e.Message());
        }
    }
    return root;
}

void TComponent::ReadState(TReader* reader) { reader->ReadData(this); }

TComponent* TStream::ReadComponent(TComponent* instance)
{
    TReader reader(this);
    return reader.ReadRootComponent(instance);
}
