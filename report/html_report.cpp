#include "report/html_report.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <string_view>

#include "config/text.h"
#include "report/dose_ranges.h"

namespace talveron {

namespace detail {
extern const unsigned char kHtmlReportStyle[];
extern const std::size_t kHtmlReportStyleSize;
extern const unsigned char kHtmlReportScript[];
extern const std::size_t kHtmlReportScriptSize;
}  // namespace detail

namespace {

/// The longest stretch of a record shown; a longer line is shown around what the finding marks.
constexpr std::size_t kShownRecordBytes = 512;

std::string_view Embedded(const unsigned char* bytes, std::size_t size) {
    return {reinterpret_cast<const char*>(bytes), size};
}

void AppendEscaped(std::string& out, char c) {
    switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
    }
}

/// The length of the valid UTF-8 sequence at the start of `text`; 0 when it is not one.
std::size_t Utf8Length(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    const std::size_t length = lead >= 0xf0 && lead <= 0xf4 ? 4
                               : lead >= 0xe0               ? 3
                               : lead >= 0xc2               ? 2
                                                            : 0;
    if (length == 0 || length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xc0) != 0x80) return 0;
    }
    return length;
}

/// Text for HTML: escaped, and a byte that is not part of valid UTF-8 shown as U+FFFD.
std::string Html(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const std::size_t length = Utf8Length(text);
        if (length == 0) {
            out += "\xef\xbf\xbd";
            text.remove_prefix(1);
            continue;
        }
        if (length == 1) {
            AppendEscaped(out, text.front());
        } else {
            out.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    return out;
}

/// One byte of a record as one character, so that positions stay put: Latin-1 for bytes above
/// 127, U+FFFD for control bytes.
void AppendRecordByte(std::string& out, unsigned char c) {
    if (c < 0x20 || c == 0x7f || (c >= 0x80 && c < 0xa0)) {
        out += "\xef\xbf\xbd";
    } else if (c >= 0xa0) {
        out += static_cast<char>(0xc0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3f));
    } else {
        AppendEscaped(out, static_cast<char>(c));
    }
}

/// The record with the finding's field as a red band and its character red on yellow, masked
/// when there is a mask.
std::string MarkedRecord(const KeptFinding& finding, const PersonalDataMask* mask) {
    const std::string masked =
        mask ? mask->apply(finding.record, finding.recordType, finding.character) : std::string();
    const std::string_view record = mask ? std::string_view(masked) : finding.record;
    const std::int32_t fieldFirst = finding.field.start;
    const std::int32_t fieldLast = finding.field.start + finding.field.length - 1;
    const std::int32_t anchor = finding.character > 0 ? finding.character : fieldFirst;
    std::size_t first = 0;
    if (record.size() > kShownRecordBytes && anchor > 64)
        first = std::min<std::size_t>(static_cast<std::size_t>(anchor - 64),
                                      record.size() - kShownRecordBytes);
    const std::size_t last = std::min(record.size(), first + kShownRecordBytes);
    std::string out = first > 0 ? "\xe2\x80\xa6" : "";
    enum class Mark { Plain, Band, Character } open = Mark::Plain;
    for (std::size_t i = first; i < last; ++i) {
        const auto position = static_cast<std::int32_t>(i + 1);
        const Mark mark = position == finding.character                     ? Mark::Character
                          : position >= fieldFirst && position <= fieldLast ? Mark::Band
                                                                            : Mark::Plain;
        if (mark != open) {
            if (open != Mark::Plain) out += "</span>";
            if (mark == Mark::Band) out += "<span class=\"band\">";
            if (mark == Mark::Character) out += "<span class=\"char\">";
            open = mark;
        }
        AppendRecordByte(out, static_cast<unsigned char>(record[i]));
    }
    if (open != Mark::Plain) out += "</span>";
    if (last < record.size()) out += "\xe2\x80\xa6";
    return out;
}

std::string Amount(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", value);
    return std::string_view(text) == "-0.000" ? "0.000" : text;
}

std::string_view LevelWord(Level level) { return level == Level::Error ? "error" : "warning"; }

void WriteCounters(std::ostream& out, const RunCounters& counters) {
    out << "<table class=\"counters\"><caption>Counters</caption><thead><tr><th></th>"
           "<th class=\"n\">Processed</th><th class=\"n\">Warnings</th><th class=\"n\">Errors</th>"
           "</tr></thead><tbody>\n";
    constexpr std::string_view kRows[] = {"Dose", "Intake", "Comment", "Total"};
    for (std::size_t row = 0; row < 4; ++row) {
        const auto value = [&](std::size_t column) { return counters.values[3 * row + column]; };
        out << "<tr><th>" << kRows[row] << "</th><td class=\"n\">" << FormatGrouped(value(0))
            << "</td><td class=\"n" << (value(1) > 0 ? " w" : "") << "\">"
            << FormatGrouped(value(1)) << "</td><td class=\"n" << (value(2) > 0 ? " e" : "")
            << "\">" << FormatGrouped(value(2)) << "</td></tr>\n";
    }
    out << "</tbody></table>\n";
}

void WriteHeaderValues(std::ostream& out, const HeaderValues& header) {
    out << "<table class=\"header\"><caption>Header</caption>\n"
        << "<tr><th>License No</th><td>" << Html(header.licenseNo) << "</td></tr>\n"
        << "<tr><th>Licensee Name</th><td>" << Html(header.licenseeName) << "</td></tr>\n"
        << "<tr><th>Contact Person</th><td>" << Html(header.contactPerson) << "</td></tr>\n"
        << "<tr><th>Associated Licenses</th><td>" << Html(header.associatedLicenses)
        << "</td></tr>\n</table>\n";
}

/// The 18 TEDE ranges as horizontal bars of monitored persons, and the collective totals.
void WriteDistribution(std::ostream& out, const SummaryFigures& figures) {
    constexpr int kRow = 20, kLabel = 150, kBars = 380, kWidth = 620;
    const std::int64_t most = std::max<std::int64_t>(
        1, *std::max_element(figures.persons.begin(), figures.persons.end()));
    out << "<figure class=\"chart\"><div><figcaption>Monitored persons by summed TEDE (rem)"
           "</figcaption>\n<svg xmlns=\"http://www.w3.org/2000/svg\" role=\"img\" width=\""
        << kWidth << "\" height=\"" << kRow * kDoseRangeCount + 8 << "\" viewBox=\"0 0 " << kWidth
        << ' ' << kRow * kDoseRangeCount + 8 << "\">\n";
    for (std::size_t range = 0; range < kDoseRangeCount; ++range) {
        const std::int64_t persons = figures.persons[range];
        const int y = static_cast<int>(range) * kRow + 4;
        const int width = persons == 0 ? 0 : std::max(1, static_cast<int>(persons * kBars / most));
        const std::string label = Html(TrimSpaces(kDoseRangeLabels[range]));
        out << "<g><title>" << label << ": " << FormatGrouped(persons) << " persons, "
            << Amount(figures.tede[range]) << " rem</title><text x=\"" << kLabel - 6 << "\" y=\""
            << y + 13 << "\" text-anchor=\"end\">" << label << "</text><rect class=\"bar\" x=\""
            << kLabel << "\" y=\"" << y + 2 << "\" width=\"" << width << "\" height=\"" << kRow - 5
            << "\"/><text x=\"" << kLabel + width + 6 << "\" y=\"" << y + 13 << "\">"
            << FormatGrouped(persons) << "</text></g>\n";
    }
    out << "<line x1=\"" << kLabel << "\" y1=\"2\" x2=\"" << kLabel << "\" y2=\""
        << kRow * kDoseRangeCount + 6 << "\"/></svg></div>\n";
    out << "<table class=\"totals\"><caption>Collective totals</caption>\n"
        << "<tr><th>Number with Measurable</th><td class=\"n\">"
        << FormatGrouped(figures.measurable)
        << "</td></tr>\n<tr><th>Total Monitored</th><td class=\"n\">"
        << FormatGrouped(figures.monitored)
        << "</td></tr>\n<tr><th>Total Collective TEDE (rem)</th><td class=\"n\">"
        << Amount(figures.collectiveTede) << "</td></tr>\n<tr><th>Total CDE</th><td class=\"n\">"
        << Amount(figures.cdeTotal) << "</td></tr>\n<tr><th>Total CEDE</th><td class=\"n\">"
        << Amount(figures.cedeTotal)
        << "</td></tr>\n<tr><th>Number of Intake Records</th><td class=\"n\">"
        << FormatGrouped(figures.intakeRecords) << "</td></tr>\n</table></figure>\n";
}

void WriteGroup(std::ostream& out, const std::string& fileId, const FindingGroup& group,
                const PersonalDataMask* mask) {
    const std::string code(DefinitionOf(group.code).name);
    const std::string id = fileId + "-" + code;
    std::string fields;
    for (const std::string& field : group.fields) fields += (fields.empty() ? "" : ", ") + field;
    out << "<details class=\"group\" id=\"" << id << "\" data-check=\"" << code
        << "\"><summary><span class=\"code\">" << code << "</span>";
    if (group.errors > 0)
        out << "<span class=\"lvl error\">" << FormatGrouped(group.errors) << " error"
            << (group.errors == 1 ? "" : "s") << "</span>";
    if (group.warnings > 0)
        out << "<span class=\"lvl warning\">" << FormatGrouped(group.warnings) << " warning"
            << (group.warnings == 1 ? "" : "s") << "</span>";
    out << "<span class=\"msg\">" << Html(DefinitionOf(group.code).caption) << "</span>";
    if (!fields.empty()) out << "<span class=\"fields\">" << Html(fields) << "</span>";
    out << "</summary>\n<ol class=\"findings\">\n";
    std::size_t number = 0;
    for (const KeptFinding& finding : group.kept) {
        const std::string findingId = id + "-" + std::to_string(++number);
        const std::string_view level = LevelWord(finding.level);
        out << "<li class=\"finding\" id=\"" << findingId << "\" data-check=\"" << code
            << "\" data-level=\"" << level << "\" data-line=\"" << finding.line
            << "\" data-field=\"" << Html(finding.fieldName) << "\"><a class=\"line\" href=\"#"
            << findingId << "\">Line " << finding.line << "</a><span class=\"lvl " << level << "\">"
            << level << "</span>";
        if (!finding.fieldName.empty())
            out << "<span class=\"field\">" << Html(finding.fieldName) << "</span>";
        out << "<span class=\"msg\">" << Html(finding.message) << "</span>";
        if (finding.character > 0)
            out << " <span class=\"pos\">(character " << finding.character << ")</span>";
        out << "<pre class=\"rec\">" << MarkedRecord(finding, mask) << "</pre></li>\n";
    }
    out << "</ol>\n";
    const auto rest = group.count() - static_cast<std::int64_t>(group.kept.size());
    if (rest > 0)
        out << "<p class=\"rest\">" << FormatGrouped(rest) << " more finding"
            << (rest == 1 ? "" : "s") << " of " << code << " counted but not shown (at most "
            << FormatGrouped(kKeptFindingsPerCode) << " per check code are).</p>\n";
    out << "</details>\n";
}

void WriteFile(std::ostream& out, const HtmlFileSection& file, std::size_t index,
               const PersonalDataMask* mask) {
    const std::string id = "file-" + std::to_string(index + 1);
    out << "<section class=\"file\" id=\"" << id << "\">\n<h2>" << Html(file.loadPath)
        << "</h2>\n<p class=\"outcome " << (file.errorsOrStopped ? "bad" : "good") << "\">"
        << Html(file.outcome) << "</p>\n<div class=\"facts\">\n";
    if (file.header) WriteHeaderValues(out, *file.header);
    WriteCounters(out, file.counters);
    out << "</div>\n";
    if (file.summary) {
        WriteDistribution(out, *file.summary);
    } else {
        out << "<p class=\"none\">No summary report was written for this file, so its dose "
               "distribution is not shown.</p>\n";
    }
    out << "<h3>Findings</h3>\n";
    const std::vector<const FindingGroup*> groups =
        file.findings ? file.findings->ordered() : std::vector<const FindingGroup*>();
    if (groups.empty()) out << "<p class=\"none\">No findings.</p>\n";
    for (const FindingGroup* group : groups) WriteGroup(out, id, *group, mask);
    out << "</section>\n";
}

void WriteContents(std::ostream& out, const HtmlReport& report) {
    out << "<nav class=\"toc\"><table><thead><tr><th>Load file</th><th>Outcome</th>"
           "<th class=\"n\">Errors</th><th class=\"n\">Warnings</th></tr></thead><tbody>\n";
    for (std::size_t index = 0; index < report.files.size(); ++index) {
        const HtmlFileSection& file = report.files[index];
        out << "<tr><td><a href=\"#file-" << index + 1 << "\">" << Html(file.loadPath)
            << "</a></td><td>" << Html(file.outcome) << "</td><td class=\"n\">"
            << FormatGrouped(file.counters.totalErrors()) << "</td><td class=\"n\">"
            << FormatGrouped(file.counters.totalWarnings()) << "</td></tr>\n";
    }
    out << "</tbody></table></nav>\n";
}

void WriteFilterBox(std::ostream& out, const HtmlReport& report) {
    std::set<std::string> codes, fields;
    for (const HtmlFileSection& file : report.files) {
        if (!file.findings) continue;
        for (const FindingGroup* group : file.findings->ordered()) {
            codes.emplace(DefinitionOf(group->code).name);
            fields.insert(group->fields.begin(), group->fields.end());
        }
    }
    out << "<form id=\"filter\" role=\"search\" onsubmit=\"return false\">"
           "<label>Level <select id=\"f-level\"><option value=\"\">any</option>"
           "<option value=\"error\">error</option><option value=\"warning\">warning</option>"
           "</select></label>\n<label>Check code <select id=\"f-check\"><option value=\"\">any"
           "</option>";
    for (const std::string& code : codes) out << "<option>" << code << "</option>";
    out << "</select></label>\n<label>Field <select id=\"f-field\"><option value=\"\">any"
           "</option>";
    for (const std::string& field : fields) out << "<option>" << Html(field) << "</option>";
    out << "</select></label>\n<label>Text <input id=\"f-text\" type=\"search\" "
           "placeholder=\"message, line, value\"></label>\n<output "
           "id=\"f-count\"></output></form>\n";
}

}  // namespace

std::string HtmlReportDate(const LocalDateTime& moment) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", moment.year, moment.month,
                  moment.day, moment.hour, moment.minute);
    return text;
}

bool WriteHtmlReport(std::ostream& out, const HtmlReport& report) {
    out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
           "<title>Talveron validation report</title>\n<style>\n"
        << Embedded(detail::kHtmlReportStyle, detail::kHtmlReportStyleSize)
        << "</style>\n</head>\n<body>\n<header>\n<h1>Talveron validation report</h1>\n"
           "<p class=\"meta\">"
        << Html(report.producedBy) << " &middot; " << Html(report.date) << " &middot; "
        << report.files.size() << " load file" << (report.files.size() == 1 ? "" : "s");
    if (report.mask) out << " &middot; personal data masked";
    out << "</p>\n";
    WriteContents(out, report);
    WriteFilterBox(out, report);
    out << "<p class=\"cap\">At most " << FormatGrouped(kKeptFindingsPerCode)
        << " findings are shown for each check code of a load file; the others are counted. "
           "The field a finding is about is marked red, the character it points at red on "
           "yellow.</p>\n</header>\n<main>\n";
    for (std::size_t index = 0; index < report.files.size(); ++index)
        WriteFile(out, report.files[index], index, report.mask);
    out << "</main>\n<script>\n"
        << Embedded(detail::kHtmlReportScript, detail::kHtmlReportScriptSize)
        << "</script>\n</body>\n</html>\n";
    return !out.fail();
}

}  // namespace talveron
