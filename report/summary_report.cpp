#include "report/summary_report.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "engine/run_counters.h"

namespace talveron {
namespace {

/// The text, then blanks up to the width; a longer text stays whole.
std::string Left(std::string_view text, std::size_t width) {
    std::string padded(text);
    if (padded.size() < width) {
        padded.append(width - padded.size(), ' ');
    }
    return padded;
}

std::string Left(std::int64_t number, std::size_t width) {
    return Left(std::to_string(number), width);
}

/// R(x): the amount with three decimals, blanks in front up to ten characters.
std::string Amount(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.3f", value);
    std::string_view text(buffer);
    // A tiny negative amount rounds to zero; print it without a sign.
    if (text == "-0.000") {
        text.remove_prefix(1);
    }
    constexpr std::size_t kWidth = 10;
    std::string padded;
    if (text.size() < kWidth) {
        padded.assign(kWidth - text.size(), ' ');
    }
    padded += text;
    return padded;
}

void Line(std::ostream& out, std::string_view text) { out << text << "\r\n"; }

void WriteHeader(std::ostream& out, const SummaryFigures& figures) {
    Line(out, FormatDateMdy(figures.date));
    Line(out, "File: " + figures.loadPath);
    Line(out, "License No: " + figures.header.licenseNo);
    Line(out, "Licensee Name: " + figures.header.licenseeName);
    Line(out, "Contact Person: " + figures.header.contactPerson);
    Line(out, "Associated Licenses: " + figures.header.associatedLicenses);
}

void WriteDistribution(std::ostream& out, const SummaryFigures& figures) {
    Line(out, std::string(40, ' ') + Left("Number", 20) + "TEDE");
    for (std::size_t range = 0; range < kDoseRangeCount; ++range) {
        Line(out, Left(kDoseRangeLabels[range], 40) + Left(figures.persons[range], 16) +
                      Amount(figures.tede[range]));
    }
    Line(out, Left("Number with Measurable:", 40) + Left(figures.measurable, 16));
    Line(out, Left("Total Monitored:", 40) + Left(figures.monitored, 16));
    Line(out, Left("Total Collective TEDE (rem):", 56) + Amount(figures.collectiveTede));
    Line(out, Left("Total CDE:", 56) + Amount(figures.cdeTotal));
    Line(out, Left("Total CEDE:", 56) + Amount(figures.cedeTotal));
    Line(out, Left("Number of Intake Records:", 40) + Left(figures.intakeRecords, 16));
}

void WriteStatus(std::ostream& out, const SummaryFigures& figures) {
    Line(out, "");
    Line(out, "Validation Status:");
    Line(out, Left("Errors:", 40) + FormatGrouped(figures.errors));
    Line(out, Left("Warnings:", 40) + FormatGrouped(figures.warnings));
    if (figures.errors > 0) {
        Line(out, "");
        Line(out, "Note: The results of this report are in question due to the errors");
        Line(out, "      found during validation.");
    }
}

void WriteOccurrenceRows(std::ostream& out, const std::vector<TallyEntry>& entries) {
    for (const TallyEntry& entry : entries) {
        Line(out, Left(entry.firstLine, 10) + Left(entry.lastLine, 10) + Left(entry.count, 10) +
                      entry.message);
    }
}

void WriteOccurrences(std::ostream& out, const SummaryFigures& figures) {
    Line(out, "");
    Line(out, "");
    const std::vector<TallyEntry>& errors = figures.errorOccurrences;
    if (!errors.empty()) {
        Line(out, "");
        Line(out, "");
        Line(out, "Error Occurrences");
        Line(out, "");
        Line(out, Left("First", 10) + Left("Last", 10) + Left(" ", 10));
        Line(out, Left("Line#", 10) + Left("Line#", 10) + Left("Count", 10) + "Message");
        Line(out, Left("-----", 10) + Left("----", 10) + Left("-----", 10) + "-------");
        WriteOccurrenceRows(out, errors);
    }
    const std::vector<TallyEntry>& warnings = figures.warningOccurrences;
    if (!warnings.empty()) {
        Line(out, "");
        Line(out, "Warning Occurrences");
        Line(out, "");
        WriteOccurrenceRows(out, warnings);
    }
}

void WriteClosingNote(std::ostream& out) {
    Line(out, "");
    Line(out, "NOTE: The results of this validation report do not contain all validation ");
    Line(out, "      checks performed by Talveron.");
}

}  // namespace

bool WriteSummaryReport(std::ostream& out, const SummaryFigures& figures) {
    WriteHeader(out, figures);
    WriteDistribution(out, figures);
    WriteStatus(out, figures);
    if (figures.occurrencesListed) {
        WriteOccurrences(out, figures);
    }
    if (figures.someChecksOff) {
        WriteClosingNote(out);
    }
    return !out.fail();
}

}  // namespace talveron
