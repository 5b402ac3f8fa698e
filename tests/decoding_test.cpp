// The decoders against independent known answers: a few codes of every table
// group, every unknown-code message once, and whole summaries word for word.
#include "decoding/decoding.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace velbrin {
namespace {

const std::u16string TacUnknown =
        u"Type Approval Code unknown: please send this Type Approval Code to the author !";
const std::u16string FacUnknown =
        u"Final Assembly Code unknown: please send this Final Assembly Code to the author !";
const std::u16string OriginUnknown =
        u"Country Code unknown: please send this Country Code to the author !";
const std::u16string YearUnknown = u"Year Code unknown: please send this Year Code to the author !";
const std::u16string MonthUnknown =
        u"Month Code unknown: please send this Month Code to the author !";

TEST(Decoding, KnownCodesGiveTheirLine)
{
    using Known =
            std::tuple<std::u16string (*)(std::u16string_view), std::u16string, std::u16string>;
    const auto tac = DecodeTypeApprovalCode, fac = DecodeFinalAssemblyCode;
    const auto origin = DecodeOriginCode, year = DecodeYearCode, month = DecodeMonthCode;
    // clang-format off
    const std::vector<Known> known {
        {tac, u"445051", u"6200 Flare GSM"}, {tac, u"350904", u"T720/T720i"}, {tac, u"449656", u"m3888"},
        {tac, u"448835", u"v3688/v3690"}, {tac, u"447764", u"StarTac 130 (first generation)"},
        {tac, u"351876", u"E365"}, // the first and last rows, and case kept
        {fac, u"06", u"Made in Germany"}, {fac, u"00", u"Made in Germany"}, {fac, u"41", u"Made in UK"},
        {fac, u"18", u"Made in Singapore"}, {fac, u"80", u"Made in China"},
        {origin, u"R", u"Made in Germany"}, {origin, u"T", u"Made in Germany"}, {origin, u"2", u"Made in UK"},
        {origin, u"W", u"Made in Singapore"}, {origin, u"6", u"Made in China"},
        {year, u"H", u"1983"}, {year, u"P", u"1989"}, {year, u"Z", u"1999"}, {year, u"A", u"2000"},
        {year, u"E", u"2004"}, // O and I are left out
        {month, u"A", u"January (1st half of)"}, {month, u"H", u"April (2nd half of)"},
        {month, u"J", u"May (1st half of)"}, {month, u"P", u"July (2nd half of)"},
        {month, u"Z", u"December (2nd half of)"},
    };
    // clang-format on
    for (const auto &[decode, code, line] : known)
        EXPECT_EQ(decode(code), line + u"\r\n") << std::string(code.begin(), code.end());
}

// Every row of the audited tables, pinned: the codes near theirs are tried (a row
// whose code moved out of reach is missed by the count), and each that a table
// knows is folded with its line into one digest, so any changed row fails.
TEST(Decoding, TablesAreTheAuditedOnes)
{
    std::uint64_t digest = 14695981039346656037u; // FNV-1a
    int rows = 0;
    const auto fold = [&](std::u16string_view code, const std::u16string &line) {
        if (line.starts_with(u"<"))
            return;
        ++rows;
        for (const char16_t unit : std::u16string(code) + line)
            digest = (digest ^ unit) * 1099511628211u;
    };
    for (const int first : {350000, 440000}) // every type approval code known starts so
        for (int number = first; number < first + 10000; ++number) {
            const std::string digits = std::to_string(number);
            fold(std::u16string(digits.begin(), digits.end()),
                 DecodeTypeApprovalCode(std::u16string(digits.begin(), digits.end())));
        }
    for (char16_t unit = 0; unit < 128; ++unit) {
        const std::u16string pair {char16_t(u'0' + unit / 10 % 10), char16_t(u'0' + unit % 10)};
        if (unit < 100)
            fold(pair, DecodeFinalAssemblyCode(pair));
        for (const auto decode : {DecodeOriginCode, DecodeYearCode, DecodeMonthCode})
            fold(std::u16string(1, unit), decode(std::u16string(1, unit)));
    }
    EXPECT_EQ(rows, 45 + 8 + 5 + 22 + 24);
    EXPECT_EQ(digest, 2089105189552090215u);
}

TEST(Decoding, CodesNotInATableGiveTheirUnknownLine)
{
    // clang-format off
    const std::vector<std::tuple<std::u16string (*)(std::u16string_view), std::u16string,
                                 std::u16string>> cases {
        {DecodeFinalAssemblyCode, u"19", FacUnknown}, {DecodeFinalAssemblyCode, u"", FacUnknown},
        {DecodeTypeApprovalCode, u"445051 ", TacUnknown}, // exact: no trimming
        {DecodeTypeApprovalCode, u"4450511", TacUnknown}, {DecodeYearCode, u"I", YearUnknown},
        {DecodeYearCode, u"F", YearUnknown}, {DecodeYearCode, u"7", YearUnknown},
        {DecodeMonthCode, u"O", MonthUnknown}, {DecodeMonthCode, u"a", MonthUnknown}, // case counts
        {DecodeOriginCode, u"t", OriginUnknown}, {DecodeOriginCode, u"\xD800", OriginUnknown},
    };
    // clang-format on
    for (const auto &[decode, code, message] : cases)
        EXPECT_EQ(decode(code), u"<" + code + u"> " + message + u"\r\n");
}

TEST(Decoding, ExtractFieldIsDefinedForAnyWindow)
{
    constexpr auto max = std::numeric_limits<std::int64_t>::max();
    constexpr auto min = std::numeric_limits<std::int64_t>::min();
    const std::vector<std::tuple<std::int64_t, std::int64_t, std::u16string>> windows {
            {1, 3, u"abc"},      {4, 2, u"de"},      {5, 10, u"e"},   {6, 1, u""},
            {1, 0, u""},         {3, -1, u""},       {0, 1, u""},     {0, 2, u"a"},
            {-2, 9, u"abcde"},   {1, max, u"abcde"}, {max, max, u""}, {min, max, u""},
            {-1, max, u"abcde"}, {max, min, u""},
    };
    for (const auto &[start, length, expected] : windows)
        EXPECT_EQ(ExtractField(u"abcde", start, length), expected) << start << ", " << length;
}

TEST(Decoding, SummariesWordForWord)
{
    // Letters, spaces and non-ASCII are cut like digits; both lookups miss.
    const auto odd = SplitImei(u"ABC DE\u00C4\xDC00 12 45Z");
    EXPECT_EQ(odd, (ImeiFields {u"ABC DE", u"\u00C4\xDC00", u" 12 45", u"Z"}));
    EXPECT_EQ(ComposeImeiSummary(odd, DecodeTypeApprovalCode(odd.TypeApprovalCode),
                                 DecodeFinalAssemblyCode(odd.FinalAssemblyCode)),
              u"Model: Motorola <ABC DE> " + TacUnknown + u"\r\n<\u00C4\xDC00> " + FacUnknown +
                      u"\r\nSerial# (six digits):  12 45\r\nSupplementary digit (reserve): Z");

    const auto msn = SplitMsn(u"xyz9IO5678");
    EXPECT_EQ(msn, (MsnFields {u"xyz", u"9", u"I", u"O", u"5678"}));
    EXPECT_EQ(ComposeMsnSummary(msn, DecodeOriginCode(msn.OriginCode),
                                DecodeMonthCode(msn.MonthCode), DecodeYearCode(msn.YearCode)),
              u"Mobile Code: xyz\r\n<9> " + OriginUnknown + u"\r\nin <O> " + MonthUnknown +
                      u"\r\nof <I> " + YearUnknown + u"\r\nSerial# (four digits): 5678");
}

} // namespace
} // namespace velbrin
