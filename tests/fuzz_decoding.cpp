// Feeds raw UTF-16 units through the split, decode and compose functions and
// checks what must hold for any input: each field is the text at its positions,
// every decoded line ends in CR LF, and a summary has four (IMEI) or five (MSN)
// lines when the input itself holds no line breaks.
#include "decoding/decoding.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

std::u16string At(const std::u16string &text, std::size_t first, std::size_t count)
{
    return first < text.size() ? text.substr(first, count) : std::u16string();
}

std::size_t Lines(const std::u16string &text)
{
    std::size_t lines = 1;
    for (auto at = text.find(u"\r\n"); at != std::u16string::npos; at = text.find(u"\r\n", at + 2))
        ++lines;
    return lines;
}

bool EndsWithCrLf(const std::u16string &line)
{
    return line.size() >= 2 && line.compare(line.size() - 2, 2, u"\r\n") == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::u16string text(size / 2, u'\0');
    if (!text.empty()) // an empty input may come with no buffer at all
        std::memcpy(text.data(), data, text.size() * 2);
    const bool plain = text.find_first_of(u"\r\n") == std::u16string::npos;

    const auto imei = velbrin::SplitImei(text);
    Require(imei.TypeApprovalCode == At(text, 0, 6) && imei.FinalAssemblyCode == At(text, 6, 2) &&
            imei.ImeiSnr == At(text, 8, 6) && imei.Sp == At(text, 14, 1));
    const auto model = velbrin::DecodeTypeApprovalCode(imei.TypeApprovalCode);
    const auto country = velbrin::DecodeFinalAssemblyCode(imei.FinalAssemblyCode);
    Require(EndsWithCrLf(model) && EndsWithCrLf(country));
    const auto imeiSummary = velbrin::ComposeImeiSummary(imei, model, country);
    Require(!plain || Lines(imeiSummary) == 4);

    const auto msn = velbrin::SplitMsn(text);
    Require(msn.MobileCode == At(text, 0, 3) && msn.OriginCode == At(text, 3, 1) &&
            msn.YearCode == At(text, 4, 1) && msn.MonthCode == At(text, 5, 1) &&
            msn.Snr == At(text, 6, 4));
    const auto origin = velbrin::DecodeOriginCode(msn.OriginCode);
    const auto year = velbrin::DecodeYearCode(msn.YearCode);
    const auto month = velbrin::DecodeMonthCode(msn.MonthCode);
    Require(EndsWithCrLf(origin) && EndsWithCrLf(year) && EndsWithCrLf(month));
    const auto msnSummary = velbrin::ComposeMsnSummary(msn, origin, month, year);
    Require(!plain || Lines(msnSummary) == 5);

    // ExtractField with windows taken from the input itself.
    if (size >= 2) {
        const auto start = static_cast<std::int8_t>(data[0]);
        const auto length = static_cast<std::int8_t>(data[1]);
        Require(velbrin::ExtractField(text, start, length).size() <=
                static_cast<std::size_t>(length < 0 ? 0 : length));
    }
    return 0;
}
