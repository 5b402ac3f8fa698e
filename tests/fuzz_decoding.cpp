// Feeds raw UTF-16 units through the split, decode and compose functions and
// checks what must hold for any input: each field is the text at its positions,
// every decoded line ends in CR LF, and a summary has four (IMEI) or five (MSN)
// lines when the input itself holds no line breaks.
#include "decoding/decoding.h"

#include <cstdlib>
#include <cstring>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

// Each field is the text at its place: `widths` long, one after the other.
void RequireFields(const std::u16string &text, std::initializer_list<std::u16string> fields,
                   std::initializer_list<std::size_t> widths)
{
    std::size_t first = 0;
    for (auto width = widths.begin(); const auto &field : fields) {
        Require(field == (first < text.size() ? text.substr(first, *width) : u""));
        first += *width++;
    }
}

// Every decoded line ends in CR LF; a plain text's summary has `lines` lines.
void RequireLines(const std::u16string &summary, std::size_t lines,
                  std::initializer_list<std::u16string> decoded, bool plain)
{
    for (const auto &line : decoded)
        Require(line.size() >= 2 && line.substr(line.size() - 2) == u"\r\n");
    std::size_t breaks = 0;
    for (auto at = summary.find(u"\r\n"); at != std::u16string::npos;
         at = summary.find(u"\r\n", at + 2))
        ++breaks;
    Require(!plain || breaks + 1 == lines);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace velbrin;
    std::u16string text(size / 2, u'\0');
    if (!text.empty()) // an empty input may come with no buffer at all
        std::memcpy(text.data(), data, text.size() * 2);
    const bool plain = text.find_first_of(u"\r\n") == std::u16string::npos;

    const auto imei = SplitImei(text);
    RequireFields(text, {imei.TypeApprovalCode, imei.FinalAssemblyCode, imei.ImeiSnr, imei.Sp},
                  {6, 2, 6, 1});
    const auto model = DecodeTypeApprovalCode(imei.TypeApprovalCode);
    const auto country = DecodeFinalAssemblyCode(imei.FinalAssemblyCode);
    RequireLines(ComposeImeiSummary(imei, model, country), 4, {model, country}, plain);

    const auto msn = SplitMsn(text);
    RequireFields(text, {msn.MobileCode, msn.OriginCode, msn.YearCode, msn.MonthCode, msn.Snr},
                  {3, 1, 1, 1, 4});
    const auto origin = DecodeOriginCode(msn.OriginCode);
    const auto year = DecodeYearCode(msn.YearCode), month = DecodeMonthCode(msn.MonthCode);
    RequireLines(ComposeMsnSummary(msn, origin, month, year), 5, {origin, year, month}, plain);

    if (size >= 2) { // ExtractField with windows taken from the input itself
        const auto start = static_cast<std::int8_t>(data[0]),
                   length = static_cast<std::int8_t>(data[1]);
        Require(ExtractField(text, start, length).size() <= std::size_t(length < 0 ? 0 : length));
    }
    return 0;
}
