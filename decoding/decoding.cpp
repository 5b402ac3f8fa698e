#include "decoding/decoding.h"

#include <algorithm>
#include <array>
#include <span>

namespace velbrin {
namespace {

using namespace std::string_view_literals;

constexpr std::u16string_view CrLf = u"\r\n"sv;

struct Row
{
    std::u16string_view code;
    std::u16string_view text;
};

// Groups that share one text are written out one row per code, in group order;
// since every code is distinct, "first equal key wins" picks the same group.
constexpr std::array<Row, 45> TypeApprovalCodes {{
        {u"445051", u"6200 Flare GSM"},
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
        {u"351876", u"E365"},
}};

constexpr std::u16string_view Germany = u"Made in Germany";
constexpr std::u16string_view Uk = u"Made in UK";
constexpr std::u16string_view Singapore = u"Made in Singapore";
constexpr std::u16string_view China = u"Made in China";

constexpr std::array<Row, 8> FinalAssemblyCodes {{
        {u"06", Germany},
        {u"07", Germany},
        {u"08", Germany},
        {u"00", Germany},
        {u"40", Uk},
        {u"41", Uk},
        {u"18", Singapore},
        {u"80", China},
}};

constexpr std::array<Row, 5> OriginCodes {{
        {u"R", Germany},
        {u"T", Germany},
        {u"2", Uk},
        {u"W", Singapore},
        {u"6", China},
}};

constexpr std::array<Row, 22> YearCodes {{
        {u"H", u"1983"}, {u"J", u"1984"}, {u"K", u"1985"}, {u"L", u"1986"}, {u"M", u"1987"},
        {u"N", u"1988"}, {u"P", u"1989"}, {u"Q", u"1990"}, {u"R", u"1991"}, {u"S", u"1992"},
        {u"T", u"1993"}, {u"U", u"1994"}, {u"V", u"1995"}, {u"W", u"1996"}, {u"X", u"1997"},
        {u"Y", u"1998"}, {u"Z", u"1999"}, {u"A", u"2000"}, {u"B", u"2001"}, {u"C", u"2002"},
        {u"D", u"2003"}, {u"E", u"2004"},
}};

constexpr std::array<Row, 24> MonthCodes {{
        {u"A", u"January (1st half of)"},   {u"B", u"January (2nd half of)"},
        {u"C", u"February (1st half of)"},  {u"D", u"February (2nd half of)"},
        {u"E", u"March (1st half of)"},     {u"F", u"March (2nd half of)"},
        {u"G", u"April (1st half of)"},     {u"H", u"April (2nd half of)"},
        {u"J", u"May (1st half of)"},       {u"K", u"May (2nd half of)"},
        {u"L", u"June (1st half of)"},      {u"M", u"June (2nd half of)"},
        {u"N", u"July (1st half of)"},      {u"P", u"July (2nd half of)"},
        {u"Q", u"August (1st half of)"},    {u"R", u"August (2nd half of)"},
        {u"S", u"September (1st half of)"}, {u"T", u"September (2nd half of)"},
        {u"U", u"October (1st half of)"},   {u"V", u"October (2nd half of)"},
        {u"W", u"November (1st half of)"},  {u"X", u"November (2nd half of)"},
        {u"Y", u"December (1st half of)"},  {u"Z", u"December (2nd half of)"},
}};

// Messages of the unknown-code lines, one per table. Views of literals, so
// their lengths are known at compile time.
constexpr std::u16string_view TypeApprovalUnknown =
        u"Type Approval Code unknown: please send this Type Approval Code to the author !";
constexpr std::u16string_view FinalAssemblyUnknown =
        u"Final Assembly Code unknown: please send this Final Assembly Code to the author !";
constexpr std::u16string_view OriginUnknown =
        u"Country Code unknown: please send this Country Code to the author !";
constexpr std::u16string_view YearUnknown =
        u"Year Code unknown: please send this Year Code to the author !";
constexpr std::u16string_view MonthUnknown =
        u"Month Code unknown: please send this Month Code to the author !";

// Joins pieces with one allocation; the summaries are built on every keystroke
// that completes an identifier. Callers pass literals as ""sv, whose length the
// compiler supplies, rather than counting UTF-16 units at run time.
std::u16string Concat(std::initializer_list<std::u16string_view> pieces)
{
    std::size_t size = 0;
    for (const auto piece : pieces)
        size += piece.size();
    std::u16string out;
    out.reserve(size);
    for (const auto piece : pieces)
        out.append(piece);
    return out;
}

std::u16string Lookup(std::span<const Row> table, std::u16string_view code,
                      std::u16string_view unknownMessage)
{
    const auto found = std::find_if(table.begin(), table.end(),
                                    [code](const Row &row) { return row.code == code; });
    return found != table.end() ? Concat({found->text, CrLf})
                                : UnknownCodeLine(code, unknownMessage);
}

} // namespace

std::u16string ExtractField(std::u16string_view text, std::int64_t start, std::int64_t length)
{
    // The cut is the window [start, start + length) of 1-based positions intersected
    // with [1, size], computed so that no start or length can overflow.
    const auto size = static_cast<std::int64_t>(text.size());
    if (length <= 0 || start > size)
        return {};
    std::int64_t first = start;
    std::int64_t count = length;
    if (first < 1) {
        // Positions before 1 hold nothing. 1 - start fits an unsigned 64-bit value
        // even for the most negative start.
        const std::uint64_t skipped = std::uint64_t {1} - static_cast<std::uint64_t>(first);
        if (static_cast<std::uint64_t>(count) <= skipped)
            return {};
        count = static_cast<std::int64_t>(static_cast<std::uint64_t>(count) - skipped);
        first = 1;
    }
    count = std::min(count, size - first + 1);
    return std::u16string(
            text.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(count)));
}

std::u16string UnknownCodeLine(std::u16string_view code, std::u16string_view message)
{
    return Concat({u"<"sv, code, u"> "sv, message, CrLf});
}

std::u16string MissingCharactersText(std::size_t missing)
{
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + missing % 10));
        missing /= 10;
    } while (missing != 0);
    return digits + u" character(s) needed";
}

ImeiFields SplitImei(std::u16string_view imei)
{
    return {ExtractField(imei, 1, 6), ExtractField(imei, 7, 2), ExtractField(imei, 9, 6),
            ExtractField(imei, 15, 1)};
}

std::u16string DecodeTypeApprovalCode(std::u16string_view code)
{
    return Lookup(TypeApprovalCodes, code, TypeApprovalUnknown);
}

std::u16string DecodeFinalAssemblyCode(std::u16string_view code)
{
    return Lookup(FinalAssemblyCodes, code, FinalAssemblyUnknown);
}

std::u16string ComposeImeiSummary(const ImeiFields &fields, std::u16string_view modelLine,
                                  std::u16string_view countryLine)
{
    return Concat({u"Model: Motorola "sv, modelLine, countryLine, u"Serial# (six digits): "sv,
                   fields.ImeiSnr, CrLf, u"Supplementary digit (reserve): "sv, fields.Sp});
}

MsnFields SplitMsn(std::u16string_view msn)
{
    return {ExtractField(msn, 1, 3), ExtractField(msn, 4, 1), ExtractField(msn, 5, 1),
            ExtractField(msn, 6, 1), ExtractField(msn, 7, 4)};
}

std::u16string DecodeOriginCode(std::u16string_view code)
{
    return Lookup(OriginCodes, code, OriginUnknown);
}

std::u16string DecodeYearCode(std::u16string_view code)
{
    return Lookup(YearCodes, code, YearUnknown);
}

std::u16string DecodeMonthCode(std::u16string_view code)
{
    return Lookup(MonthCodes, code, MonthUnknown);
}

std::u16string ComposeMsnSummary(const MsnFields &fields, std::u16string_view countryLine,
                                 std::u16string_view monthLine, std::u16string_view yearLine)
{
    return Concat({u"Mobile Code: "sv, fields.MobileCode, CrLf, countryLine, u"in "sv, monthLine,
                   u"of "sv, yearLine, u"Serial# (four digits): "sv, fields.Snr});
}

} // namespace velbrin
