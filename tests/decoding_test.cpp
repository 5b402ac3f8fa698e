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

std::u16string Digits(int number, std::size_t width)
{
    std::u16string digits;
    for (std::size_t i = 0; i < width; ++i, number /= 10)
        digits.insert(digits.begin(), char16_t(u'0' + number % 10));
    return digits;
}

TEST(Decoding, AsApproved)
{
    std::string dump;
    const auto add = [&](const std::string &what, std::u16string_view input,
                         std::u16string_view output) {
        dump += what + " " + Quoted(input) + " -> " + Quoted(output) + "\n";
    };
    // The codes each table knows (every known type approval code starts 35 or 44).
    const auto known = [&](const char *table, auto decode, const std::u16string &code) {
        if (const auto line = decode(code); !line.starts_with(u"<"))
            add(table, code, line);
    };
    for (const int first : {350000, 440000})
        for (int number = first; number < first + 10000; ++number)
            known("type approval", DecodeTypeApprovalCode, Digits(number, 6));
    for (int number = 0; number < 100; ++number)
        known("final assembly", DecodeFinalAssemblyCode, Digits(number, 2));
    for (char16_t unit = 0; unit < 128; ++unit) {
        known("origin", DecodeOriginCode, std::u16string(1, unit));
        known("year", DecodeYearCode, std::u16string(1, unit));
        known("month", DecodeMonthCode, std::u16string(1, unit));
    }
    // Codes no table holds: compared whole and case-sensitively, never trimmed.
    add("type approval", u"445051 ", DecodeTypeApprovalCode(u"445051 "));
    add("final assembly", u"", DecodeFinalAssemblyCode(u""));
    add("origin", u"t", DecodeOriginCode(u"t"));
    add("year", u"I", DecodeYearCode(u"I"));
    add("month", u"\xD800", DecodeMonthCode(u"\xD800"));
    for (const std::u16string imei :
         {u"445051079876543", u"ABC DE\u00C4\xDC00 12 45Z", u"1234567"}) {
        const auto fields = SplitImei(imei);
        add("IMEI", imei,
            ComposeImeiSummary(fields, DecodeTypeApprovalCode(fields.TypeApprovalCode),
                               DecodeFinalAssemblyCode(fields.FinalAssemblyCode)));
    }
    for (const std::u16string msn : {u"A3ZTZB1234", u"xyz9IO5678", u"A3"}) {
        const auto fields = SplitMsn(msn);
        add("MSN", msn,
            ComposeMsnSummary(fields, DecodeOriginCode(fields.OriginCode),
                              DecodeMonthCode(fields.MonthCode), DecodeYearCode(fields.YearCode)));
    }
    constexpr auto max = std::numeric_limits<std::int64_t>::max();
    constexpr auto min = std::numeric_limits<std::int64_t>::min();
    for (const auto &[start, length] :
         std::initializer_list<std::pair<std::int64_t, std::int64_t>> {{1, 3},
                                                                       {4, 2},
                                                                       {5, 10},
                                                                       {6, 1},
                                                                       {1, 0},
                                                                       {3, -1},
                                                                       {0, 1},
                                                                       {0, 2},
                                                                       {-2, 9},
                                                                       {1, max},
                                                                       {max, max},
                                                                       {min, max},
                                                                       {-1, max},
                                                                       {max, min}})
        add("field " + std::to_string(start) + " " + std::to_string(length), u"abcde",
            ExtractField(u"abcde", start, length));
    for (const std::size_t missing : {0, 1, 10, 15, 1234})
        add("counter " + std::to_string(missing), u"", MissingCharactersText(missing));
    for (const AppInfo &info : {AppInfo::current(), AppInfo {u"Corvanel", 1, 0, 0, u""},
                                AppInfo {u"", 1, 0, 12, u"\u00A9 \u00DCbel & Co"}}) {
        add("caption", info.Title, MainWindowCaption(info));
        add("About caption", info.Title, about::AboutCaption(info));
        add("About version", info.Title, about::AboutVersion(info));
        add("About description", info.Title, about::AboutDescription(info));
    }
    add("About disclaimer", u"", about::AboutDisclaimer());
    for (const auto &failure :
         {std::make_exception_ptr(std::runtime_error("no disk \u2014 Z\u00fcrich")),
          std::make_exception_ptr(42)}) {
        std::string report = FailureReport(failure);
        for (std::size_t at = 0; (at = report.find_first_of("\r\n", at)) != std::string::npos;)
            report.replace(at, 1, report[at] == '\r' ? "\\r" : "\\n");
        dump += "failure report -> " + report + "\n";
    }
    ExpectApprovedText("decoding.txt", dump, true);
}

} // namespace
} // namespace velbrin::test
