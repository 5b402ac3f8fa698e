// Every code of every table as the program decodes it, the text rules and the
// whole summaries of a few odd inputs, held against an approved dump: a changed
// row shows as the line that differs.
#include "about/about_texts.h"
#include "app/failure.h"
#include "approval.h"
#include "decoding/decoding.h"

#include <limits>
#include <stdexcept>

namespace velbrin::test {
namespace {

TEST(Decoding, AsApproved)
{
    std::string dump;
    const auto add = [&](const std::string &what, std::u16string_view in, std::u16string_view out) {
        dump += what + " " + Quoted(in) + " -> " + Quoted(out) + "\n";
    };
    const auto known = [&](const char *table, auto decode, const std::u16string &code) {
        if (const auto line = decode(code); !line.starts_with(u"<"))
            add(table, code, line);
    };
    for (int number = 0; number < 20000; ++number) { // every known one starts 35 or 44
        const std::string digits =
                std::to_string(number < 10000 ? 350000 + number : 430000 + number);
        known("type approval", DecodeTypeApprovalCode,
              std::u16string(digits.begin(), digits.end()));
    }
    for (char16_t unit = 0; unit < 128; ++unit) {
        if (unit < 100)
            known("final assembly", DecodeFinalAssemblyCode,
                  {char16_t(u'0' + unit / 10), char16_t(u'0' + unit % 10)});
        known("origin", DecodeOriginCode, std::u16string(1, unit));
        known("year", DecodeYearCode, std::u16string(1, unit));
        known("month", DecodeMonthCode, std::u16string(1, unit));
    }
    // Codes no table holds: compared whole and case-sensitively, never trimmed.
    add("type approval", u"445051 ", DecodeTypeApprovalCode(u"445051 "));
    add("final assembly", u"", DecodeFinalAssemblyCode(u""));
    add("origin", u"t", DecodeOriginCode(u"t"));
    add("year", u"I", DecodeYearCode(u"I"));
    add("month", u"\u00C4", DecodeMonthCode(u"\u00C4"));
    for (const std::u16string imei :
         {u"445051079876543", u"ABC DE\u00C4\u00DC 12 45Z", u"1234567"}) {
        const auto f = SplitImei(imei);
        add("IMEI", imei,
            ComposeImeiSummary(f, DecodeTypeApprovalCode(f.TypeApprovalCode),
                               DecodeFinalAssemblyCode(f.FinalAssemblyCode)));
    }
    for (const std::u16string msn : {u"A3ZTZB1234", u"xyz9IO5678", u"A3"}) {
        const auto f = SplitMsn(msn);
        add("MSN", msn,
            ComposeMsnSummary(f, DecodeOriginCode(f.OriginCode), DecodeMonthCode(f.MonthCode),
                              DecodeYearCode(f.YearCode)));
    }
    constexpr auto max = std::numeric_limits<std::int64_t>::max(), min = -max - 1;
    const std::int64_t windows[][2] = {{1, 3},     {4, 2},     {5, 10},   {6, 1},    {1, 0},
                                       {3, -1},    {0, 1},     {0, 2},    {-2, 9},   {1, max},
                                       {max, max}, {min, max}, {-1, max}, {max, min}};
    for (const auto &[start, length] : windows)
        add("field " + std::to_string(start) + " " + std::to_string(length), u"abcde",
            ExtractField(u"abcde", start, length));
    for (const std::size_t missing : {0, 1, 10, 15, 1234})
        add("counter " + std::to_string(missing), u"", MissingCharactersText(missing));
    for (const AppInfo &info : {AppInfo::current(), AppInfo {u"Corvanel", 1, 0, 0, u""},
                                AppInfo {u"", 1, 0, 12, u"\u00A9 \u00DCbel & Co"}})
        for (const auto &text : {MainWindowCaption(info), about::AboutCaption(info),
                                 about::AboutVersion(info), about::AboutDescription(info)})
            add("window text", info.Title, text);
    add("About disclaimer", u"", about::AboutDisclaimer());
    for (const auto &failure :
         {std::make_exception_ptr(std::runtime_error("no disk \u2014 Z\u00fcrich")),
          std::make_exception_ptr(42)})
        dump += "failure report -> " + Quoted(FailureReport(failure)) + "\n";
    ExpectApproved("decoding.txt", dump, true);
}

} // namespace
} // namespace velbrin::test
