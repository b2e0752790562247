#include "report/summary_report.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "config/number.h"
#include "engine/run_counters.h"

namespace talveron {
namespace {

constexpr std::size_t kRangeCount = 18;

constexpr std::array<std::string_view, kRangeCount> kRangeLabels = {
    "No measurable exp.", "Meas. - 0.100", "0.100 - 0.250", "0.250 - 0.500", "0.500 - 0.750",
    "0.750 - 1.000",      "1.000 - 2.000", "2.000 - 3.000", "3.000 - 4.000", "4.000 - 5.000",
    "5.000 - 6.000",      "6.000 - 7.000", "7.000 - 8.000", "8.000 - 9.000", "9.000 - 10.00",
    "10.00 - 11.00",      "11.00 - 12.00", "      > 12.00",
};

/// Inclusive upper bounds of the second to the seventeenth range.
constexpr std::array<double, kRangeCount - 2> kUpperBounds = {
    0.099, 0.249, 0.499, 0.749, 0.999, 1.999, 2.999,  3.999,
    4.999, 5.999, 6.999, 7.999, 8.999, 9.999, 10.999, 11.999,
};

/// The lowest total of the last range; totals just below it stay in the range before.
constexpr double kTopRangeFloor = 12.0;

/// The per-person distribution of TEDE and its totals.
struct Distribution {
    std::array<std::int64_t, kRangeCount> counts{};
    std::array<double, kRangeCount> sums{};
    std::int64_t persons = 0;
    std::int64_t measurable = 0;
    double collective = 0;
};

/// 0-based index of the range a person's total falls into.
std::size_t RangeOf(double total) {
    if (total == 0) {
        return 0;
    }
    for (std::size_t i = 0; i < kUpperBounds.size(); ++i) {
        if (total <= kUpperBounds[i]) {
            return i + 1;
        }
    }
    return total < kTopRangeFloor ? kRangeCount - 2 : kRangeCount - 1;
}

void AddPerson(Distribution& distribution, double total) {
    const std::size_t range = RangeOf(total);
    distribution.persons += 1;
    distribution.collective += total;
    distribution.counts[range] += 1;
    distribution.sums[range] += total;
    if (range >= 1) {
        distribution.measurable += 1;
    }
}

/// Reports the share of dose-list entries handled, only when the whole percentage changes.
class ProgressTracker {
public:
    ProgressTracker(const std::function<void(int)>& progress, std::size_t entryCount)
        : progress_(progress), lastIndex_(entryCount == 0 ? 0 : entryCount - 1) {}

    void reached(std::size_t index) {
        // A single entry gives no span to divide; the display keeps what it shows.
        if (!progress_ || lastIndex_ == 0) {
            return;
        }
        const int percent = static_cast<int>(
            RoundHalfEven(static_cast<double>(index) * 100.0 / static_cast<double>(lastIndex_)));
        if (percent != shown_) {
            shown_ = percent;
            progress_(percent);
        }
    }

private:
    const std::function<void(int)>& progress_;
    std::size_t lastIndex_;
    int shown_ = -1;
};

/// Totals every person once, in the order of their first dose record, summing their entries in
/// file order: the order in which walking the dose list and gathering each new key's entries
/// meets them.
Distribution Distribute(const DoseRegister& doses, const std::function<void(int)>& progress) {
    Distribution distribution;
    const std::span<const DoseListEntry> entries = doses.doses();
    ProgressTracker tracker(progress, entries.size());
    for (std::size_t person = 0; person < doses.personCount(); ++person) {
        const std::span<const std::uint32_t> positions = doses.entriesOfPerson(person);
        const std::uint32_t first = positions.front();
        // Keys beginning with "!" are reserved as the done marker and never counted.
        if (entries[first].key[0] == '!') continue;
        double total = 0;
        for (const std::uint32_t position : positions) total += entries[position].tede;
        AddPerson(distribution, total);
        tracker.reached(first);
    }
    return distribution;
}

/// L(text, w): the text, then blanks up to the width; a longer text stays whole.
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

void WriteHeader(std::ostream& out, const SummaryInputs& inputs) {
    Line(out, FormatDateMdy(inputs.date));
    Line(out, "File: " + inputs.loadPath);
    Line(out, "License No: " + inputs.header.licenseNo);
    Line(out, "Licensee Name: " + inputs.header.licenseeName);
    Line(out, "Contact Person: " + inputs.header.contactPerson);
    Line(out, "Associated Licenses: " + inputs.header.associatedLicenses);
}

void WriteDistribution(std::ostream& out, const Distribution& distribution,
                       const DoseRegister& doses) {
    Line(out, std::string(40, ' ') + Left("Number", 20) + "TEDE");
    for (std::size_t range = 0; range < kRangeCount; ++range) {
        Line(out, Left(kRangeLabels[range], 40) + Left(distribution.counts[range], 16) +
                      Amount(distribution.sums[range]));
    }
    Line(out, Left("Number with Measurable:", 40) + Left(distribution.measurable, 16));
    Line(out, Left("Total Monitored:", 40) + Left(distribution.persons, 16));
    Line(out, Left("Total Collective TEDE (rem):", 56) + Amount(distribution.collective));
    Line(out, Left("Total CDE:", 56) + Amount(doses.cdeTotal()));
    Line(out, Left("Total CEDE:", 56) + Amount(doses.cedeTotal()));
    Line(out, Left("Number of Intake Records:", 40) + Left(doses.intakeCount(), 16));
}

void WriteStatus(std::ostream& out, const SummaryInputs& inputs) {
    Line(out, "");
    Line(out, "Validation Status:");
    Line(out, Left("Errors:", 40) + FormatGrouped(inputs.errorTotal));
    Line(out, Left("Warnings:", 40) + FormatGrouped(inputs.warningTotal));
    if (inputs.errorTotal > 0) {
        Line(out, "");
        Line(out, "Note: The results of this report are in question due to the errors");
        Line(out, "      found during validation.");
    }
}

/// The rows of one tally, the most frequent message first.
void WriteOccurrenceRows(std::ostream& out, const std::vector<TallyEntry>& entries) {
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        Line(out, Left(entry->firstLine, 10) + Left(entry->lastLine, 10) + Left(entry->count, 10) +
                      entry->message);
    }
}

void WriteOccurrences(std::ostream& out, const OccurrenceTally& tally) {
    Line(out, "");
    Line(out, "");
    const std::vector<TallyEntry> errors = tally.ordered(Level::Error);
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
    const std::vector<TallyEntry> warnings = tally.ordered(Level::Warning);
    if (!warnings.empty()) {
        Line(out, "");
        Line(out, "Warning Occurrences");
        Line(out, "");
        WriteOccurrenceRows(out, warnings);
    }
}

/// The check codes the report's figures rely on: every check but BDay. The value-list switches
/// do not change what the report counts either.
constexpr OptionKey kCountedChecks[] = {
    OptionKey::AIC,   OptionKey::AICS,  OptionKey::ANIC,   OptionKey::BDAMP, OptionKey::CDEN,
    OptionKey::CGT5,  OptionKey::CGT50, OptionKey::CNIR,   OptionKey::CTODE, OptionKey::DBI,
    OptionKey::DCD,   OptionKey::DCSUM, OptionKey::DCTSUM, OptionKey::DGT5,  OptionKey::DGZ,
    OptionKey::DID,   OptionKey::DIM,   OptionKey::DVIC,   OptionKey::ESDV,  OptionKey::HNCIR,
    OptionKey::ICDR,  OptionKey::ICRC,  OptionKey::INDD,   OptionKey::IRL,   OptionKey::IRNN,
    OptionKey::IRT,   OptionKey::LGT15, OptionKey::LLMA,   OptionKey::MDMP,  OptionKey::MODH,
    OptionKey::MODG,  OptionKey::MPGT,  OptionKey::NAMFLD, OptionKey::NCD,   OptionKey::NCDDE,
    OptionKey::NCLDE, OptionKey::NCNTO, OptionKey::NRND,   OptionKey::NSDE,  OptionKey::NVCIC,
    OptionKey::PIC,   OptionKey::RVCI,  OptionKey::SDBED,  OptionKey::SGT50, OptionKey::SNC,
    OptionKey::SSNNN, OptionKey::SWB50, OptionKey::TGT5,   OptionKey::TNC,   OptionKey::TOGT50,
    OptionKey::VNIL,  OptionKey::VNVR,
};

/// Whether a check that the report's figures rely on was switched off.
bool AnyCheckOff(const OptionSettings& options) {
    return std::any_of(std::begin(kCountedChecks), std::end(kCountedChecks),
                       [&](OptionKey code) { return !options.on(code); });
}

void WriteClosingNote(std::ostream& out) {
    Line(out, "");
    Line(out, "NOTE: The results of this validation report do not contain all validation ");
    Line(out, "      checks performed by Talveron.");
}

}  // namespace

bool WriteSummaryReport(std::ostream& out, const SummaryInputs& inputs) {
    const Distribution distribution = Distribute(inputs.doses, inputs.progress);
    WriteHeader(out, inputs);
    WriteDistribution(out, distribution, inputs.doses);
    WriteStatus(out, inputs);
    if (inputs.options.on(OptionKey::IOS)) {
        WriteOccurrences(out, inputs.tally);
    }
    if (AnyCheckOff(inputs.options)) {
        WriteClosingNote(out);
    }
    return !out.fail();
}

}  // namespace talveron
