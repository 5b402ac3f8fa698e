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
    struct Known
    {
        std::u16string (*decode)(std::u16string_view);
        std::u16string code, line;
    };
    const std::vector<Known> known {
            {DecodeTypeApprovalCode, u"445051", u"6200 Flare GSM"}, // first row
            {DecodeTypeApprovalCode, u"350904", u"T720/T720i"},
            {DecodeTypeApprovalCode, u"449656", u"m3888"}, // case kept
            {DecodeTypeApprovalCode, u"448835", u"v3688/v3690"},
            {DecodeTypeApprovalCode, u"447764", u"StarTac 130 (first generation)"},
            {DecodeTypeApprovalCode, u"351876", u"E365"}, // last row
            {DecodeFinalAssemblyCode, u"06", u"Made in Germany"},
            {DecodeFinalAssemblyCode, u"00", u"Made in Germany"},
            {DecodeFinalAssemblyCode, u"41", u"Made in UK"},
            {DecodeFinalAssemblyCode, u"18", u"Made in Singapore"},
            {DecodeFinalAssemblyCode, u"80", u"Made in China"},
            {DecodeOriginCode, u"R", u"Made in Germany"},
            {DecodeOriginCode, u"T", u"Made in Germany"},
            {DecodeOriginCode, u"2", u"Made in UK"},
            {DecodeOriginCode, u"W", u"Made in Singapore"},
            {DecodeOriginCode, u"6", u"Made in China"},
            {DecodeYearCode, u"H", u"1983"},
            {DecodeYearCode, u"P", u"1989"}, // O is left out before it
            {DecodeYearCode, u"Z", u"1999"},
            {DecodeYearCode, u"A", u"2000"},
            {DecodeYearCode, u"E", u"2004"},
            {DecodeMonthCode, u"A", u"January (1st half of)"},
            {DecodeMonthCode, u"H", u"April (2nd half of)"},
            {DecodeMonthCode, u"J", u"May (1st half of)"}, // I is left out before it
            {DecodeMonthCode, u"P", u"July (2nd half of)"},
            {DecodeMonthCode, u"Z", u"December (2nd half of)"},
    };
    for (const auto &k : known)
        EXPECT_EQ(k.decode(k.code), k.line + u"\r\n") << std::string(k.code.begin(), k.code.end());
}

TEST(Decoding, CodesNotInATableGiveTheirUnknownLine)
{
    struct Unknown
    {
        std::u16string (*decode)(std::u16string_view);
        std::u16string code;
        const std::u16string &message;
    };
    const std::vector<Unknown> cases {
            {DecodeFinalAssemblyCode, u"19", FacUnknown},
            {DecodeFinalAssemblyCode, u"", FacUnknown},
            {DecodeTypeApprovalCode, u"445051 ", TacUnknown}, // exact: no trimming
            {DecodeTypeApprovalCode, u"4450511", TacUnknown},
            {DecodeYearCode, u"I", YearUnknown},
            {DecodeYearCode, u"F", YearUnknown},
            {DecodeYearCode, u"7", YearUnknown},
            {DecodeMonthCode, u"O", MonthUnknown},
            {DecodeMonthCode, u"a", MonthUnknown}, // case-sensitive
            {DecodeOriginCode, u"t", OriginUnknown},
            {DecodeOriginCode, u"\xD800", OriginUnknown},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.decode(c.code), u"<" + c.code + u"> " + c.message + u"\r\n");
}

TEST(Decoding, ExtractFieldIsDefinedForAnyWindow)
{
    constexpr auto max = std::numeric_limits<std::int64_t>::max();
    constexpr auto min = std::numeric_limits<std::int64_t>::min();
    struct Window
    {
        std::int64_t start, length;
        std::u16string expected;
    };
    const std::vector<Window> windows {
            {1, 3, u"abc"},      {4, 2, u"de"},      {5, 10, u"e"},   {6, 1, u""},
            {1, 0, u""},         {3, -1, u""},       {0, 1, u""},     {0, 2, u"a"},
            {-2, 9, u"abcde"},   {1, max, u"abcde"}, {max, max, u""}, {min, max, u""},
            {-1, max, u"abcde"}, {max, min, u""},
    };
    for (const auto &w : windows)
        EXPECT_EQ(ExtractField(u"abcde", w.start, w.length), w.expected)
                << w.start << ", " << w.length;
}

TEST(Decoding, SummariesWordForWord)
{
    const auto imei = SplitImei(u"350904401234565");
    EXPECT_EQ(imei, (ImeiFields {u"350904", u"40", u"123456", u"5"}));
    EXPECT_EQ(ComposeImeiSummary(imei, DecodeTypeApprovalCode(imei.TypeApprovalCode),
                                 DecodeFinalAssemblyCode(imei.FinalAssemblyCode)),
              u"Model: Motorola T720/T720i\r\nMade in UK\r\nSerial# (six digits): 123456\r\n"
              u"Supplementary digit (reserve): 5");

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

TEST(Decoding, ShortTextGivesShortFieldsAndTheCounterCounts)
{
    EXPECT_EQ(SplitImei(u"4450510"), (ImeiFields {u"445051", u"0", u"", u""}));
    EXPECT_EQ(SplitMsn(u"AB"), (MsnFields {u"AB", u"", u"", u"", u""}));
    EXPECT_EQ(SplitMsn(u"A3ZTZB1234XYZ").Snr, u"1234");
    EXPECT_EQ(MissingCharactersText(3), u"3 character(s) needed");
    EXPECT_EQ(MissingCharactersText(1024), u"1024 character(s) needed");
}

} // namespace
} // namespace velbrin
