// The property block of a Jet catalog row (its LvProp value): a signature, "KKD" in Jet 3
// and "MR2" in Jet 4, then chunks of a 32-bit length (header included) and a 16-bit kind:
// kind 0x80 lists the property names, kinds 0 and 1 hold a set of properties, each record
// a 16-bit length, a flag byte, a type byte, the index of its name and its sized value.
#pragma once

#include <cstddef>

// libmdb walks the block on trust when it reads the catalog: a zero length would keep it
// reading the same chunk without end, and a length past the end reads past the block.
// True when that walk is safe: every chunk and record lies inside the block, moves the walk
// forward and names a listed property. A block without a signature is not walked.
bool PropertyBlockCanBeWalked(const unsigned char* block, std::size_t size);
