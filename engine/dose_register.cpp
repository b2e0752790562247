#include "engine/dose_register.h"

#include "config/text.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <type_traits>

namespace talveron {

namespace {

bool KeyLess(const PersonKey& a, const PersonKey& b) {
    return std::memcmp(a.data(), b.data(), a.size()) < 0;
}

using DayPosition = std::pair<std::int32_t, std::uint32_t>;

/// The entries of a day-sorted list whose day lies within [low, high].
std::pair<const DayPosition*, const DayPosition*> DaysWithin(const std::vector<DayPosition>& sorted,
                                                             std::int32_t low, std::int32_t high) {
    const auto first = std::lower_bound(sorted.begin(), sorted.end(), DayPosition{low, 0});
    const auto last = std::upper_bound(first, sorted.end(), DayPosition{high, UINT32_MAX});
    return {sorted.data() + (first - sorted.begin()), sorted.data() + (last - sorted.begin())};
}

}  // namespace

PersonKey MakePersonKey(std::string_view idType, std::string_view employeeId) {
    std::string joined;
    joined.reserve(1 + employeeId.size());
    const std::string_view type = TrimSpaces(idType);
    if (!type.empty()) joined += type.front();
    joined += TrimSpaces(employeeId);
    const std::string_view trimmed = TrimSpaces(joined);

    PersonKey key;
    key.fill(' ');
    std::memcpy(key.data(), trimmed.data(), std::min(trimmed.size(), key.size()));
    return key;
}

void DoseRegister::clear() {
    doses_.clear();
    intakes_.clear();
    byKey_.clear();
    largeGroups_.clear();
    cedeTotal_ = 0;
    cdeTotal_ = 0;
}

std::size_t DoseRegister::addDose(const DoseListEntry& entry) {
    doses_.push_back(entry);
    return doses_.size() - 1;
}

void DoseRegister::addIntake(const IntakeEntry& entry) { intakes_.push_back(entry); }

void DoseRegister::buildIndex() {
    byKey_.resize(doses_.size());
    for (std::uint32_t position = 0; position < byKey_.size(); ++position) byKey_[position] = position;
    std::stable_sort(byKey_.begin(), byKey_.end(), [this](std::uint32_t a, std::uint32_t b) {
        return KeyLess(doses_[a].key, doses_[b].key);
    });

    largeGroups_.clear();
    for (std::size_t first = 0; first < byKey_.size();) {
        std::size_t last = first + 1;
        while (last < byKey_.size() && doses_[byKey_[last]].key == doses_[byKey_[first]].key) ++last;
        if (last - first > kLargeGroupSize) {
            LargeGroup& group = largeGroups_[first];
            for (std::size_t i = first; i < last; ++i) {
                const DoseListEntry& entry = doses_[byKey_[i]];
                group.starts.emplace_back(entry.startDays, byKey_[i]);
                group.ends.emplace_back(entry.endDays, byKey_[i]);
            }
            std::sort(group.starts.begin(), group.starts.end());
            std::sort(group.ends.begin(), group.ends.end());
        }
        first = last;
    }
}

std::pair<std::size_t, std::size_t> DoseRegister::groupRange(const PersonKey& key) const {
    const auto [first, last] = std::equal_range(
        byKey_.begin(), byKey_.end(), key,
        [this](const auto& a, const auto& b) {
            if constexpr (std::is_same_v<std::decay_t<decltype(a)>, PersonKey>) {
                return KeyLess(a, doses_[b].key);
            } else {
                return KeyLess(doses_[a].key, b);
            }
        });
    return {static_cast<std::size_t>(first - byKey_.begin()), static_cast<std::size_t>(last - byKey_.begin())};
}

std::span<const std::uint32_t> DoseRegister::findDoseEntries(const PersonKey& key) const {
    const auto [first, last] = groupRange(key);
    return std::span<const std::uint32_t>(byKey_).subspan(first, last - first);
}

bool DoseRegister::twoOrMoreEntriesTouch(const PersonKey& key, std::int32_t lowDays,
                                         std::int32_t highDays) const {
    if (lowDays > highDays) return false;
    const auto [first, last] = groupRange(key);
    const auto within = [&](std::int32_t day) { return day >= lowDays && day <= highDays; };

    const auto large = largeGroups_.find(first);
    if (large == largeGroups_.end()) {
        int touching = 0;
        for (std::size_t i = first; i < last && touching < 2; ++i) {
            const DoseListEntry& entry = doses_[byKey_[i]];
            if (within(entry.startDays) || within(entry.endDays)) ++touching;
        }
        return touching >= 2;
    }

    // Entries touching = starts within + ends within - entries with both within. Only "two or
    // more" matters: two starts or two ends suffice; one of each counts twice unless they are
    // the same entry.
    const auto [startsFirst, startsLast] = DaysWithin(large->second.starts, lowDays, highDays);
    const auto [endsFirst, endsLast] = DaysWithin(large->second.ends, lowDays, highDays);
    const auto starts = startsLast - startsFirst;
    const auto ends = endsLast - endsFirst;
    if (starts >= 2 || ends >= 2) return true;
    if (starts == 1 && ends == 1) return startsFirst->second != endsFirst->second;
    return false;
}

IntakeSummary DoseRegister::intakesOf(std::int64_t doseLine) const {
    const auto [first, last] = std::equal_range(
        intakes_.begin(), intakes_.end(), doseLine, [](const auto& a, const auto& b) {
            if constexpr (std::is_same_v<std::decay_t<decltype(a)>, IntakeEntry>) {
                return a.doseLine < b;
            } else {
                return a < b.doseLine;
            }
        });
    IntakeSummary summary;
    for (auto entry = first; entry != last; ++entry) {
        summary.count += 1;
        summary.total += entry->intake;
    }
    return summary;
}

}  // namespace talveron
