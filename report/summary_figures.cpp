#include "report/summary_figures.h"

#include <algorithm>

#include "config/number.h"

namespace talveron {
namespace {

void AddPerson(SummaryFigures& figures, double total) {
    const std::size_t range = DoseRangeOf(total);
    figures.monitored += 1;
    figures.collectiveTede += total;
    figures.persons[range] += 1;
    figures.tede[range] += total;
    if (range >= 1) {
        figures.measurable += 1;
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
void Distribute(const DoseRegister& doses, const std::function<void(int)>& progress,
                SummaryFigures& figures) {
    const std::span<const DoseListEntry> entries = doses.doses();
    ProgressTracker tracker(progress, entries.size());
    for (std::size_t person = 0; person < doses.personCount(); ++person) {
        const std::span<const std::uint32_t> positions = doses.entriesOfPerson(person);
        const std::uint32_t first = positions.front();
        // A person key beginning with "!" is never counted: the report reserves that mark for
        // entries it has already summed.
        if (entries[first].key[0] == '!') continue;
        double total = 0;
        for (const std::uint32_t position : positions) total += entries[position].tede;
        AddPerson(figures, total);
        tracker.reached(first);
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

/// The entries of a tally, the most frequent message first.
std::vector<TallyEntry> MostFrequentFirst(const OccurrenceTally& tally, Level level) {
    std::vector<TallyEntry> entries = tally.ordered(level);
    std::reverse(entries.begin(), entries.end());
    return entries;
}

}  // namespace

SummaryFigures ComputeSummaryFigures(const SummaryInputs& inputs) {
    SummaryFigures figures;
    figures.date = inputs.date;
    figures.loadPath = inputs.loadPath;
    figures.header = inputs.header;
    Distribute(inputs.doses, inputs.progress, figures);
    figures.cdeTotal = inputs.doses.cdeTotal();
    figures.cedeTotal = inputs.doses.cedeTotal();
    figures.intakeRecords = inputs.doses.intakeCount();
    figures.errors = inputs.errorTotal;
    figures.warnings = inputs.warningTotal;
    figures.occurrencesListed = inputs.options.on(OptionKey::IOS);
    if (figures.occurrencesListed) {
        figures.errorOccurrences = MostFrequentFirst(inputs.tally, Level::Error);
        figures.warningOccurrences = MostFrequentFirst(inputs.tally, Level::Warning);
    }
    figures.someChecksOff = AnyCheckOff(inputs.options);
    return figures;
}

}  // namespace talveron
