// The values of text form descriptions (numbers, strings, identifiers, lists, binary
// blocks). What reads must write out as text that reads to the same values and writes the
// same text again. An input that starts with "object" is read as a description of a
// component whose properties refuse what they cannot take (an integer of a range, a
// point list of pairs, a block of an announced size): it reads, or raises the reader's
// error naming the line; what reads holds only values its properties take, and writes a
// description that reads and writes the same again.
#include "FuzzTarget.h"

#include "platform/classlib/Classes.h"
#include "platform/rtl/RtlConsts.h"

#include <optional>

namespace {

class TFuzzPart : public TComponent {
    VENDARO_CLASS(TFuzzPart, TComponent)
public:
    explicit TFuzzPart(TComponent* owner) : TComponent(owner) {}
    int Size() const { return size_; }
    void SetSize(int v)
    {
        if (v >= 1 && v <= 1000)
            size_ = v;
    }
    const AnsiString& Caption() const { return caption_; }
    void SetCaption(const AnsiString& v) { caption_ = v; }
    int BlockSize() const { return static_cast<int>(block_.size()); }
    void SetBlockSize(int v) { announced_ = v; }

    std::vector<int> points;

    static void Publish(TClassBuilder<TFuzzPart>& c)
    {
        c.Property("Size", &TFuzzPart::Size, &TFuzzPart::SetSize).Default(16).ReadRange(1, 1000);
        c.Property("Caption", &TFuzzPart::Caption, &TFuzzPart::SetCaption);
        c.Property("BlockSize", &TFuzzPart::BlockSize, &TFuzzPart::SetBlockSize).Default(0);
    }

protected:
    void DefineProperties(TFiler* filer) override
    {
        TComponent::DefineProperties(filer);
        filer->DefineProperty(
            "Points",
            [this](TReader* r) {
                std::vector<int> read;
                r->ReadListBegin();
                while (!r->EndOfList())
                    read.push_back(r->ReadInteger());
                r->ReadListEnd();
                if (read.size() % 2 != 0)
                    throw EReadError(SReadError);
                points = read;
            },
            [this](TWriter* w) {
                w->WriteListBegin();
                for (int v : points)
                    w->WriteInteger(v);
                w->WriteListEnd();
            },
            !points.empty());
        filer->DefineBinaryProperty(
            "Block",
            [this](TStream* s) {
                const std::optional<int> announced = announced_;
                announced_.reset();
                if (announced && *announced != s->Size())
                    throw EReadError(SReadError);
                block_.resize(static_cast<std::size_t>(s->Size()));
                if (!block_.empty())
                    s->ReadBuffer(block_.data(), static_cast<int>(block_.size()));
            },
            [this](TStream* s) { s->WriteBuffer(block_.data(), static_cast<int>(block_.size())); }, !block_.empty());
    }

private:
    int size_ = 16;
    AnsiString caption_;
    std::optional<int> announced_;
    std::vector<char> block_;
};

std::string Described(TComponent* root)
{
    TStringStream out;
    out.WriteComponent(root);
    return out.DataString().str();
}

TComponent* ReadDescription(const std::string& text)
{
    TStringStream in{AnsiString(text)};
    return in.ReadComponent(nullptr);
}

void CheckDescription(const std::string& text)
{
    static const bool registered = (RegisterClass(TFuzzPart::StaticClass()), true);
    (void)registered;
    TComponent* read = nullptr;
    try {
        read = ReadDescription(text);
    } catch (const EReadError& e) {
        FUZZ_CHECK(Pos("Error reading form description at line ", e.Message()) == 1);
        return;
    }
    TOwned<TComponent> owned(read);
    for (int i = -1; i < read->ComponentCount(); ++i)
        if (auto* part = dynamic_cast<TFuzzPart*>(i < 0 ? read : read->Components(i))) {
            FUZZ_CHECK(part->Size() >= 1 && part->Size() <= 1000);
            FUZZ_CHECK(part->points.size() % 2 == 0);
        }
    const std::string written = Described(read);
    TOwned<TComponent> again(ReadDescription(written));
    FUZZ_CHECK(Described(again.get()) == written);
}

// Consecutive binary blocks are one run of bytes to the reader, read here byte by byte up
// to the first value that is not binary (the reader's "too short" error).
void CopyBinary(TReader& reader, TWriter& writer)
{
    for (;;) {
        char byte;
        try {
            reader.Read(&byte, 1);
        } catch (const EReadError&) {
            if (reader.NextValue() == vaBinary)
                throw; // a damaged block
            return;
        }
        writer.Write(&byte, 1);
    }
}

// Reads values up to the end (or the first error) and writes each one it read.
void Copy(TReader& reader, TWriter& writer, int depth = 0) {
    for (;;) {
        const TValueType type = reader.NextValue();
        switch (type) {
        case vaNull:
            return;
        case vaList:
            if (depth > 50)
                return;
            reader.ReadListBegin();
            writer.WriteListBegin();
            try {
                Copy(reader, writer, depth + 1);
                reader.ReadListEnd();
            } catch (const EReadError&) {
                // What was copied stays well formed: its lists are closed.
                writer.WriteListEnd();
                throw;
            }
            writer.WriteListEnd();
            break;
        case vaInt32:
            writer.WriteInteger(reader.ReadInt64());
            break;
        case vaExtended:
            writer.WriteFloat(reader.ReadFloat());
            break;
        case vaString:
            writer.WriteString(reader.ReadString());
            break;
        case vaIdent:
            writer.WriteIdent(reader.ReadIdent());
            break;
        case vaTrue:
        case vaFalse:
            writer.WriteBoolean(reader.ReadBoolean());
            break;
        case vaBinary:
            CopyBinary(reader, writer);
            break;
        default:
            return;
        }
    }
}

// The values written go inside one list, where the writer separates them; a text that was
// written so is read from inside its list.
std::string Rewrite(const std::string& text, bool written) {
    TStringStream in{AnsiString(text)};
    TStringStream out;
    {
        TReader reader(&in);
        TWriter writer(&out);
        writer.WriteListBegin();
        try {
            if (written)
                reader.ReadListBegin();
            Copy(reader, writer);
        } catch (const EReadError&) {
            FUZZ_CHECK(!written);
        }
        writer.WriteListEnd();
    }
    return out.DataString().str();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size >= 6 && std::string(reinterpret_cast<const char*>(data), 6) == "object") {
        CheckDescription(std::string(reinterpret_cast<const char*>(data), size));
        return 0;
    }
    const std::string first = Rewrite(std::string(reinterpret_cast<const char*>(data), size), false);
    FUZZ_CHECK(Rewrite(first, true) == first);
    return 0;
}

std::vector<std::string> FuzzSeeds() {
    TStringStream out;
    {
        TWriter w(&out);
        w.WriteListBegin();
        w.WriteInteger(-7);
        w.WriteInteger(4000000000LL);
        w.WriteString(AnsiString("a\0'b\xE9", 5));
        w.WriteIdent("alClient");
        w.WriteBoolean(true);
        w.WriteFloat(1.0 / 3.0);
        w.WriteFloat(1e300);
        w.Write("\x01\x02\xFF", 3);
        w.WriteListEnd();
    }
    return {out.DataString().str(), "$FFFFFFFF 1.5E3 +0.5 'x' + #65", "{0A0B0C}",
            // Regressions: floats that do not fit, signs and hex marks without digits.
            "1e999", "-1e999", "-", "+", "$", "-$10", "$1FFFFFFFFFFFFFFFF",
            // Components: every stored kind; values a setter would drop, a property given
            // twice, a short point list, a block that is not the size announced.
            "object P: TFuzzPart\n  Size = 7\n  Caption = 'x'\n  Points = (\n    1 2\n    3 4)\n  BlockSize = 2\n"
            "  Block = {0A0B}\n  object Q: TFuzzPart\n    Size = 1000\n  end\nend\n",
            "object P: TFuzzPart\n  Size = -5\nend\n", "object P: TFuzzPart\n  Size = -2147483648\nend\n",
            "object P: TFuzzPart\n  Size = 3\n  Size = 9\nend\n", "object P: TFuzzPart\n  Points = (1 2 3)\nend\n",
            "object P: TFuzzPart\n  BlockSize = 40\n  Block = {0A0B}\nend\n"};
}
