#pragma once
// Conversions between the single-byte code pages the system keeps and UTF-8.
#include <cstdint>
#include <string>
#include <string_view>

namespace kt {

// Unicode code point of a Windows-1252 byte (the five unassigned bytes map to
// themselves, as Windows does).
char32_t Win1252ToCodePoint(unsigned char byte);

// Windows-1252 byte for a code point, or -1 when it has none.
int CodePointToWin1252(char32_t cp);

std::string Win1252ToUtf8(std::string_view text);

// UTF-8 to Windows-1252. A character outside the code page becomes its
// closest Latin letter (Ł -> L, ő -> o) or `replacement`; malformed UTF-8
// bytes are taken as Windows-1252 bytes, so nothing is dropped silently.
std::string Utf8ToWin1252(std::string_view text, char replacement = '?');

// UTF-16 (little or big endian, no byte-order mark) to UTF-8; unpaired
// surrogates become U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian);

// Decodes one UTF-8 sequence at `pos`; returns the code point and advances
// `pos`, or returns -1 (advancing by one byte) when malformed.
int32_t DecodeUtf8(std::string_view text, size_t& pos);
void AppendUtf8(std::string& out, char32_t cp);
bool IsValidUtf8(std::string_view text);

// IBM PC code page 437 <-> Windows-1252 (names inside gzip headers).
// A character with no counterpart becomes its closest letter, else '_'.
std::string Cp437ToWin1252(std::string_view text);
std::string Win1252ToCp437(std::string_view text);

// Windows-1252 text for an ISO-8859-1 document: bytes 0x80-0x9F that stand
// for characters outside Latin-1 (€, Œ, š, ...) become "&#NNNN;" references.
std::string Win1252ToLatin1WithReferences(std::string_view text);
// The same from UTF-8 text: everything outside Latin-1 becomes a reference.
std::string Utf8ToLatin1WithReferences(std::string_view text);

// Windows-1252 case rules: a-z, the accented small letters (à-þ but ÷),
// š œ ž ÿ become capitals; ß and µ stay.
unsigned char Win1252ToUpper(unsigned char c);
unsigned char Win1252ToLower(unsigned char c);
std::string Win1252UpperCase(std::string_view text);
std::string Win1252LowerCase(std::string_view text);

}  // namespace kt
