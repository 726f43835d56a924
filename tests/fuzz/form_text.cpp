// The values of text form descriptions (numbers, strings, identifiers, lists, binary
// blocks). What reads must write out as text that reads to the same values and writes the
// same text again.
#include "FuzzTarget.h"

#include "platform/classlib/Classes.h"

namespace {

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
            "1e999", "-1e999", "-", "+", "$", "-$10", "$1FFFFFFFFFFFFFFFF"};
}
