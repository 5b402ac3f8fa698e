// Decoding of the two Motorola handset identifiers, the 15-character IMEI and the
// 10-character MSN.
//
// This library is the engine of the program: every table, every text rule and
// every cut lives here, so the windows only copy strings in and out. It is plain
// C++ with no toolkit behind it, which keeps it testable and fuzzable on its own.
//
// Text is UTF-16 (std::u16string) because that is what the entry boxes hold;
// lengths and positions count 16-bit units and positions are 1-based. Nothing
// here validates input or fails: an unknown code becomes a visible line of text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velbrin {

// Characters of `text` from 1-based position `start` on, at most `length` of
// them. Positions outside the text hold no characters, so any start and length
// (negative, zero, past the end, huge) give a well-defined, possibly empty, cut.
std::u16string ExtractField(std::u16string_view text, std::int64_t start, std::int64_t length);

// "<code> message" followed by CR LF: the line a lookup gives for a code that its
// table does not hold.
std::u16string UnknownCodeLine(std::u16string_view code, std::u16string_view message);

struct ImeiFields
{
    std::u16string TypeApprovalCode; // positions 1-6
    std::u16string FinalAssemblyCode; // positions 7-8
    std::u16string ImeiSnr; // positions 9-14
    std::u16string Sp; // position 15

    bool operator==(const ImeiFields &) const = default;
};

struct MsnFields
{
    std::u16string MobileCode; // positions 1-3
    std::u16string OriginCode; // position 4
    std::u16string YearCode; // position 5
    std::u16string MonthCode; // position 6
    std::u16string Snr; // positions 7-10

    bool operator==(const MsnFields &) const = default;
};

ImeiFields SplitImei(std::u16string_view imei);

// Each decoder returns one line ending in CR LF: the table's text, or the
// unknown-code line. The code is compared exactly, case and spaces included.
std::u16string DecodeTypeApprovalCode(std::u16string_view code);
std::u16string DecodeFinalAssemblyCode(std::u16string_view code);

// Four lines joined by CR LF, no CR LF after the last.
std::u16string ComposeImeiSummary(const ImeiFields &fields, std::u16string_view modelLine,
                                  std::u16string_view countryLine);

MsnFields SplitMsn(std::u16string_view msn);

std::u16string DecodeOriginCode(std::u16string_view code);
std::u16string DecodeYearCode(std::u16string_view code);
std::u16string DecodeMonthCode(std::u16string_view code);

// Five lines joined by CR LF, no CR LF after the last.
std::u16string ComposeMsnSummary(const MsnFields &fields, std::u16string_view countryLine,
                                 std::u16string_view monthLine, std::u16string_view yearLine);

inline constexpr std::size_t ImeiLength = 15;
inline constexpr std::size_t MsnLength = 10;

// The counter beside an entry box: "N character(s) needed", N in plain decimal.
std::u16string MissingCharactersText(std::size_t missing);

} // namespace velbrin
