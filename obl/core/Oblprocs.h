// Unit Oblprocs: procedures shared by the component library.
#pragma once

#include "platform/win/WinTypes.h"

#include <array>
#include <cstddef>

// ---- LZRW block compression -------------------------------------------------
// One buffer of at most OBLLZRWChunkSize bytes becomes one block (LZRW1 with
// run items; a block that would not shrink is stored with the flag 0x80) and
// back. The block layout is part of every compressed stream of the library.

// Source bytes per block.
constexpr std::size_t OBLLZRWChunkSize = 32781;
// Largest block: a stored full chunk (flag byte + the chunk).
constexpr std::size_t OBLLZRWBufferSize = OBLLZRWChunkSize + 1;

using TOBLLZRWBuffer = std::array<BYTE, OBLLZRWBufferSize>;

// Compresses the first sourceSize bytes of source into dest and returns the
// block length (at most sourceSize + 1). A sourceSize above OBLLZRWChunkSize,
// or a hash table that cannot be allocated, raises EInvalidPointer.
WORD OBLLZRWCompress(const TOBLLZRWBuffer& source, TOBLLZRWBuffer& dest, WORD sourceSize);

// Restores the block held in the first sourceSize bytes of source into dest and
// returns the number of bytes produced. A damaged block (too short, an item cut
// off, a copy reaching before the output, more than OBLLZRWChunkSize bytes of
// output) raises EReadError; nothing outside the two buffers is touched.
WORD OBLLZRWDecompress(const TOBLLZRWBuffer& source, TOBLLZRWBuffer& dest, WORD sourceSize);
