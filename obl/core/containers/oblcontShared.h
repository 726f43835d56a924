// What the sources of unit oblcont share: the checked readers of stored fields. A stored
// field that the stream cannot deliver whole is damaged data and raises EReadError; it
// never reads as zero.
#pragma once

#include "obl/core/containers/oblcont.h"
#include "obl/core/formats/oblwave.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/RtlConsts.h"

namespace oblcont_internal {

// True when the next nine bytes of Stream are the stored signature of Kind.
bool ReadSignature(TStream* Stream, TOBLListItemClassType Kind);
// Exception "Cannot open file %s: <what>".
[[noreturn]] void RaiseWrongSignature(const AnsiString& What);
int ReadInt32(TStream* Stream);
BYTE ReadByte(TStream* Stream);
// A length byte and that many characters.
AnsiString ReadString8(TStream* Stream);
// A negative count, or a count of fields of BytesPerItem bytes each that the rest of the
// stream cannot hold, raises EReadError.
void CheckCount(TStream* Stream, int Count, int BytesPerItem);
// Runs a payload reader, turning a malformed image inside a field of the right size
// (the graphic's or the wave's own error) into EReadError.
template <class Read>
void ReadPayload(Read read)
{
    try {
        read();
    } catch (const EReadError&) {
        throw;
    } catch (const EInvalidGraphic&) {
        throw EReadError(SReadError);
    } catch (const EInvalidGraphicOperation&) {
        throw EReadError(SReadError);
    } catch (const EErrorCheckingWave&) {
        throw EReadError(SReadError);
    }
}

} // namespace oblcont_internal
