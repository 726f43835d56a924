// Unit Oblstrings: small routines on 8-bit strings: filling to a length, trimming,
// separator-delimited "coded" strings, path backslashes, single-character counts and
// searches, and the 16-bit-key byte scrambler of stored values. Positions are 1-based.
// Every routine returns a new value and leaves its arguments alone, except
// OBLSetCodedString, which edits its string.
#pragma once

#include "platform/rtl/AnsiString.h"

#include <cstdint>

// ---- Filling ------------------------------------------------------------------------
AnsiString OBLFillString(int n, char c);
AnsiString OBLSpace(int n);
AnsiString OBLAddCharL(const AnsiString& s, int len, char c);
AnsiString OBLAddCharR(const AnsiString& s, int len, char c);
AnsiString OBLAddSpaceL(const AnsiString& s, int len);
AnsiString OBLAddSpaceR(const AnsiString& s, int len);
AnsiString OBLAddZeroL(const AnsiString& s, int len);
AnsiString OBLAddZeroR(const AnsiString& s, int len);

// ---- Trimming and tests -------------------------------------------------------------
AnsiString OBLTrimL(const AnsiString& s);
AnsiString OBLTrimR(const AnsiString& s);
AnsiString OBLTrim(const AnsiString& s);
// True for an empty string or one of blanks only (a tab is not blank here).
bool OBLEmpty(const AnsiString& s);
int OBLCount(const AnsiString& s, char c);
// Position of the last c in s; 0 when there is none.
int OBLBackPos(char c, const AnsiString& s);
// Position of the first decimal digit; 0 when there is none.
int OBLScanToNumber(const AnsiString& s);
AnsiString OBLReplaceChar(const AnsiString& s, char a, char b);

// ---- Two parts around the first separator -------------------------------------------
AnsiString OBLGetFirstString(const AnsiString& s, char c);
// At most 255 characters after the first c.
AnsiString OBLGetSecondString(const AnsiString& s, char c);

// ---- Paths --------------------------------------------------------------------------
AnsiString OBLSlashAdd(const AnsiString& s);
AnsiString OBLSlashRemove(const AnsiString& s);

// ---- Coded strings: fields separated by one character ---------------------------------
// Arrays are passed with the index of their last element.
AnsiString OBLCodeString(const AnsiString* values, int high, char c);
AnsiString OBLCodeInt(const int* values, int high, char c);
int OBLGetCodedCount(const AnsiString& s, char c);
// Field n (0-based); empty when s has fewer than n separators or n is negative.
AnsiString OBLGetCodedString(const AnsiString& s, char c, int n);
// Field n as a decimal integer; -1 for an empty field, EConvertError for a non-number.
int OBLGetCodedInt(const AnsiString& s, char c, int n);
// Replaces field n, first appending separators until s has n of them. A negative n
// leaves s alone.
void OBLSetCodedString(AnsiString& s, const AnsiString& value, char c, int n);

// ---- Scrambler ----------------------------------------------------------------------
// Same length as the input; the output may hold any byte, 0 included.
AnsiString OBLEncode(const AnsiString& s, std::uint16_t key);
AnsiString OBLDecode(const AnsiString& s, std::uint16_t key);
