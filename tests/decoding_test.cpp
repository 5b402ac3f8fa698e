// The decoders against the published tables, written out here a second time on
// purpose: a typo in either copy shows up as a failure.
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

struct Case
{
    std::u16string code;
    std::u16string text;
};

TEST(Decoding, EveryTypeApprovalCode)
{
    const std::vector<Case> rows {{u"445051", u"6200 Flare GSM"},
                                  {u"445790", u"6700"},
                                  {u"444788", u"8200"},
                                  {u"446072", u"8400"},
                                  {u"446620", u"8700"},
                                  {u"447373", u"8900"},
                                  {u"447262", u"D160"},
                                  {u"446790", u"6700/D460"},
                                  {u"447090", u"D470"},
                                  {u"448114", u"D520"},
                                  {u"447768", u"CD920"},
                                  {u"447769", u"CD930"},
                                  {u"447070", u"SlimLite"},
                                  {u"447264", u"StarTac 70"},
                                  {u"446203", u"StarTac 85"},
                                  {u"447764", u"StarTac 130 (first generation)"},
                                  {u"448548", u"StarTac 130 (second generation)"},
                                  {u"449154", u"M6088 (StarTac Dual Band)"},
                                  {u"448835", u"v3688/v3690"},
                                  {u"448954", u"Timeport L7089"},
                                  {u"449656", u"m3888"},
                                  {u"449173", u"T2288"},
                                  {u"449176", u"P7389"},
                                  {u"449240", u"V2288"},
                                  {u"449175", u"V51"},
                                  {u"448833", u"C520"},
                                  {u"449242", u"T250"},
                                  {u"449156", u"Accomplish A6188"},
                                  {u"449270", u"V50"},
                                  {u"350644", u"V60i"},
                                  {u"350642", u"V66i"},
                                  {u"449276", u"V66"},
                                  {u"449277", u"V60"},
                                  {u"350650", u"V66m"},
                                  {u"350640", u"V60m"},
                                  {u"449281", u"T191"},
                                  {u"449280", u"V70"},
                                  {u"449278", u"T280"},
                                  {u"350904", u"T720/T720i"},
                                  {u"350647", u"C336"},
                                  {u"352693", u"C350"},
                                  {u"352096", u"T720i New Look"},
                                  {u"353512", u"V600"},
                                  {u"352718", u"C550"},
                                  {u"351876", u"E365"}};
    ASSERT_EQ(rows.size(), 45u);
    for (const auto &row : rows)
        EXPECT_EQ(DecodeTypeApprovalCode(row.code), row.text + u"\r\n");
}

TEST(Decoding, EveryAssemblyAndOriginCode)
{
    const std::vector<Case> assembly {{u"06", u"Made in Germany"},   {u"07", u"Made in Germany"},
                                      {u"08", u"Made in Germany"},   {u"00", u"Made in Germany"},
                                      {u"40", u"Made in UK"},        {u"41", u"Made in UK"},
                                      {u"18", u"Made in Singapore"}, {u"80", u"Made in China"}};
    for (const auto &row : assembly)
        EXPECT_EQ(DecodeFinalAssemblyCode(row.code), row.text + u"\r\n");

    const std::vector<Case> origin {{u"R", u"Made in Germany"},
                                    {u"T", u"Made in Germany"},
                                    {u"2", u"Made in UK"},
                                    {u"W", u"Made in Singapore"},
                                    {u"6", u"Made in China"}};
    for (const auto &row : origin)
        EXPECT_EQ(DecodeOriginCode(row.code), row.text + u"\r\n");
}

TEST(Decoding, EveryYearAndMonthCode)
{
    // H to Z then A to E, without I and O: one letter a year from 1983 on.
    const std::u16string years = u"HJKLMNPQRSTUVWXYZABCDE";
    for (std::size_t i = 0; i < years.size(); ++i) {
        const auto year = std::to_string(1983 + i);
        EXPECT_EQ(DecodeYearCode(std::u16string(1, years[i])),
                  std::u16string(year.begin(), year.end()) + u"\r\n")
                << year;
    }

    const std::vector<std::u16string> months {u"January",   u"February", u"March",    u"April",
                                              u"May",       u"June",     u"July",     u"August",
                                              u"September", u"October",  u"November", u"December"};
    const std::u16string letters = u"ABCDEFGHJKLMNPQRSTUVWXYZ";
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const auto half = i % 2 == 0 ? u" (1st half of)" : u" (2nd half of)";
        EXPECT_EQ(DecodeMonthCode(std::u16string(1, letters[i])), months[i / 2] + half + u"\r\n")
                << char(letters[i]);
    }
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
            {DecodeFinalAssemblyCode, u"0", FacUnknown}, // short
            {DecodeFinalAssemblyCode, u"", FacUnknown},
            {DecodeTypeApprovalCode, u"445051 ", TacUnknown}, // trailing space
            {DecodeTypeApprovalCode, u" 44505", TacUnknown}, // leading space
            {DecodeTypeApprovalCode, u"ABCDEF", TacUnknown},
            {DecodeTypeApprovalCode, u"4450511", TacUnknown}, // longer than any key
            {DecodeYearCode, u"I", YearUnknown},
            {DecodeYearCode, u"O", YearUnknown},
            {DecodeYearCode, u"F", YearUnknown},
            {DecodeYearCode, u"G", YearUnknown},
            {DecodeYearCode, u"7", YearUnknown},
            {DecodeYearCode, u"e", YearUnknown},
            {DecodeMonthCode, u"I", MonthUnknown},
            {DecodeMonthCode, u"O", MonthUnknown},
            {DecodeMonthCode, u"a", MonthUnknown},
            {DecodeMonthCode, u"1", MonthUnknown},
            {DecodeOriginCode, u"r", OriginUnknown},
            {DecodeOriginCode, u"t", OriginUnknown},
            {DecodeOriginCode, u"\u00DF", OriginUnknown},
            {DecodeOriginCode, u"\xD800", OriginUnknown},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.decode(c.code), u"<" + c.code + u"> " + c.message + u"\r\n");
    EXPECT_EQ(UnknownCodeLine(u"x y", u"msg"), u"<x y> msg\r\n");
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
            {1, 3, u"abc"},      {2, 2, u"bc"},   {4, 2, u"de"},   {5, 10, u"e"},
            {6, 1, u""},         {7, 1, u""},     {1, 0, u""},     {3, -1, u""},
            {0, 1, u""},         {0, 2, u"a"},    {-2, 4, u"a"},   {-2, 9, u"abcde"},
            {1, max, u"abcde"},  {max, max, u""}, {min, max, u""}, {min, 1, u""},
            {-1, max, u"abcde"}, {min, -1, u""},  {max, min, u""},
    };
    for (const auto &w : windows)
        EXPECT_EQ(ExtractField(u"abcde", w.start, w.length), w.expected)
                << w.start << ", " << w.length;
    EXPECT_EQ(ExtractField(u"", 1, 1), u"");
}

TEST(Decoding, ImeiSummaryWordForWord)
{
    const auto fields = SplitImei(u"445051079876543");
    EXPECT_EQ(fields, (ImeiFields {u"445051", u"07", u"987654", u"3"}));
    EXPECT_EQ(ComposeImeiSummary(fields, DecodeTypeApprovalCode(fields.TypeApprovalCode),
                                 DecodeFinalAssemblyCode(fields.FinalAssemblyCode)),
              u"Model: Motorola 6200 Flare GSM\r\n"
              u"Made in Germany\r\n"
              u"Serial# (six digits): 987654\r\n"
              u"Supplementary digit (reserve): 3");

    // Letters, spaces and non-ASCII are cut like digits; both lookups miss.
    const auto odd = SplitImei(u"ABC DE\u00C4\xDC00 12 45Z");
    EXPECT_EQ(odd, (ImeiFields {u"ABC DE", u"\u00C4\xDC00", u" 12 45", u"Z"}));
    EXPECT_EQ(ComposeImeiSummary(odd, DecodeTypeApprovalCode(odd.TypeApprovalCode),
                                 DecodeFinalAssemblyCode(odd.FinalAssemblyCode)),
              u"Model: Motorola <ABC DE> " + TacUnknown + u"\r\n<\u00C4\xDC00> " + FacUnknown +
                      u"\r\nSerial# (six digits):  12 45\r\nSupplementary digit (reserve): Z");
}

TEST(Decoding, MsnSummaryWordForWord)
{
    const auto fields = SplitMsn(u"A3ZTZB1234");
    EXPECT_EQ(fields, (MsnFields {u"A3Z", u"T", u"Z", u"B", u"1234"}));
    EXPECT_EQ(ComposeMsnSummary(fields, DecodeOriginCode(fields.OriginCode),
                                DecodeMonthCode(fields.MonthCode), DecodeYearCode(fields.YearCode)),
              u"Mobile Code: A3Z\r\n"
              u"Made in Germany\r\n"
              u"in January (2nd half of)\r\n"
              u"of 1999\r\n"
              u"Serial# (four digits): 1234");

    const auto unknown = SplitMsn(u"xyz9IO5678");
    EXPECT_EQ(ComposeMsnSummary(unknown, DecodeOriginCode(unknown.OriginCode),
                                DecodeMonthCode(unknown.MonthCode),
                                DecodeYearCode(unknown.YearCode)),
              u"Mobile Code: xyz\r\n<9> " + OriginUnknown + u"\r\nin <O> " + MonthUnknown +
                      u"\r\nof <I> " + YearUnknown + u"\r\nSerial# (four digits): 5678");
}

TEST(Decoding, ShortIdentifiersGiveShortOrEmptyFields)
{
    EXPECT_EQ(SplitImei(u"4450510"), (ImeiFields {u"445051", u"0", u"", u""}));
    EXPECT_EQ(SplitMsn(u"AB"), (MsnFields {u"AB", u"", u"", u"", u""}));
    EXPECT_EQ(SplitMsn(u""), MsnFields {});
    // Longer text: the fields ignore what lies past the identifier.
    EXPECT_EQ(SplitMsn(u"A3ZTZB1234XYZ").Snr, u"1234");
}

TEST(Decoding, CounterText)
{
    EXPECT_EQ(MissingCharactersText(0), u"0 character(s) needed");
    EXPECT_EQ(MissingCharactersText(3), u"3 character(s) needed");
    EXPECT_EQ(MissingCharactersText(15), u"15 character(s) needed");
    EXPECT_EQ(MissingCharactersText(1024), u"1024 character(s) needed");
}

} // namespace
} // namespace velbrin
