// Feeds raw UTF-16 units through the split, decode and compose functions and
// checks what must hold for any input: each field is the text at its positions,
// every decoded line ends in CR LF, and a summary has four (IMEI) or five (MSN)
// lines when the input itself holds no line breaks.
#include "decoding/decoding.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

// Each field is the text at its place, `widths` long one after the other; each
// decoded line ends in CR LF; a summary of a text with no line break in it has
// as many lines as there are fields.
void Check(const std::u16string &text, const std::vector<std::u16string> &fields,
           const std::vector<std::size_t> &widths, const std::vector<std::u16string> &lines,
           const std::u16string &summary)
{
    for (std::size_t i = 0, first = 0; i < fields.size(); first += widths[i++])
        Require(fields[i] == (first < text.size() ? text.substr(first, widths[i]) : u""));
    for (const auto &line : lines)
        Require(line.ends_with(u"\r\n"));
    const auto breaks = std::count(summary.begin(), summary.end(), u'\n');
    Require(text.find_first_of(u"\r\n") != std::u16string::npos ||
            breaks + 1 == long(fields.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace velbrin;
    std::u16string text(size / 2, u'\0');
    if (!text.empty()) // an empty input may come with no buffer at all
        std::memcpy(text.data(), data, text.size() * 2);
    const auto imei = SplitImei(text);
    const auto model = DecodeTypeApprovalCode(imei.TypeApprovalCode);
    const auto country = DecodeFinalAssemblyCode(imei.FinalAssemblyCode);
    Check(text, {imei.TypeApprovalCode, imei.FinalAssemblyCode, imei.ImeiSnr, imei.Sp},
          {6, 2, 6, 1}, {model, country}, ComposeImeiSummary(imei, model, country));
    const auto msn = SplitMsn(text);
    const auto origin = DecodeOriginCode(msn.OriginCode), year = DecodeYearCode(msn.YearCode);
    const auto month = DecodeMonthCode(msn.MonthCode);
    Check(text, {msn.MobileCode, msn.OriginCode, msn.YearCode, msn.MonthCode, msn.Snr},
          {3, 1, 1, 1, 4}, {origin, year, month}, ComposeMsnSummary(msn, origin, month, year));
    if (size >= 2) { // ExtractField with windows taken from the input itself
        const auto start = static_cast<std::int8_t>(data[0]),
                   length = static_cast<std::int8_t>(data[1]);
        Require(ExtractField(text, start, length).size() <= std::size_t(std::max<int>(length, 0)));
    }
    return 0;
}
