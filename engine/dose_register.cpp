#include "engine/dose_register.h"

#include "config/text.h"

#include <algorithm>
#include <cstring>

namespace talveron {

namespace {

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
    // Both parts are trimmed and the type letter is not a blank, so the joined key needs no
    // further trimming.
    const std::string_view type = TrimSpaces(idType);
    const std::string_view id = TrimSpaces(employeeId);
    PersonKey key;
    key.fill(' ');
    std::size_t length = 0;
    if (!type.empty()) key[length++] = type.front();
    const std::size_t taken = std::min(id.size(), key.size() - length);
    // copy_n, not memcpy: the identifier of a layout without the field is an empty view whose
    // data() is null, which memcpy may not be given even for no bytes.
    std::copy_n(id.data(), taken, key.data() + length);
    return key;
}

void DoseRegister::addIntake(const IntakeEntry& entry) { intakes_.push_back(entry); }

std::uint64_t DoseRegister::KeyHash(const PersonKey& key) {
    std::uint64_t head = 0;
    std::uint64_t tail = 0;
    std::memcpy(&head, key.data(), 8);
    std::memcpy(&tail, key.data() + 8, key.size() - 8);
    // The 64-bit finaliser of MurmurHash3 spreads every input bit over the low bits the table uses.
    const auto mix = [](std::uint64_t h) {
        h ^= h >> 33;
        h *= 0xFF51AFD7ED558CCDULL;
        h ^= h >> 33;
        h *= 0xC4CEB9FE1A85EC53ULL;
        return h ^ (h >> 33);
    };
    return mix(head ^ mix(tail));
}

std::size_t DoseRegister::findSlot(const PersonKey& key, std::uint64_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    const auto tag = static_cast<std::uint32_t>(hash >> 32);
    for (std::size_t slot = static_cast<std::size_t>(hash) & mask;; slot = (slot + 1) & mask) {
        const Slot& here = slots_[slot];
        if (here.group == kEmptySlot) return slot;
        if (here.tag == tag && SameKey(doses_[groupFirst_[here.group]].key, key)) return slot;
    }
}

void DoseRegister::buildIndex() {
    // Group the positions by key with a hash table, then lay them out group after group, each
    // group in file order: linear in the number of records, whatever the keys. A person's
    // records usually follow one another, so the runs of one key bound the persons and size the
    // table.
    std::size_t runs = 0;
    for (std::size_t position = 0; position < doses_.size(); ++position) {
        runs += position == 0 || !SameKey(doses_[position].key, doses_[position - 1].key);
    }
    std::size_t capacity = 16;
    while (capacity < 2 * runs) capacity *= 2;
    slots_.assign(capacity, Slot{});
    groupFirst_.clear();
    groupOfPosition_.assign(doses_.size(), 0);
    const auto startsRun = [&](std::size_t position) {
        return position == 0 || !SameKey(doses_[position].key, doses_[position - 1].key);
    };
    // The table is larger than the cache and its slots are met at random: the slot of a key a few
    // runs ahead is fetched while this one is looked up.
    constexpr std::size_t kLookAhead = 16;
    const std::size_t mask = slots_.size() - 1;
    for (std::uint32_t position = 0; position < doses_.size(); ++position) {
        const std::size_t ahead = position + kLookAhead;
        if (ahead < doses_.size() && startsRun(ahead)) {
            __builtin_prefetch(&slots_[KeyHash(doses_[ahead].key) & mask]);
        }
        // A person's dose records usually follow one another: reuse the previous record's group.
        if (!startsRun(position)) {
            groupOfPosition_[position] = groupOfPosition_[position - 1];
            continue;
        }
        const std::uint64_t hash = KeyHash(doses_[position].key);
        Slot& slot = slots_[findSlot(doses_[position].key, hash)];
        if (slot.group == kEmptySlot) {
            slot = {static_cast<std::uint32_t>(groupFirst_.size()),
                    static_cast<std::uint32_t>(hash >> 32)};
            groupFirst_.push_back(position);
        }
        groupOfPosition_[position] = slot.group;
    }

    groupStarts_.assign(groupFirst_.size() + 1, 0);
    for (const std::uint32_t group : groupOfPosition_) ++groupStarts_[group + 1];
    for (std::size_t group = 1; group < groupStarts_.size(); ++group)
        groupStarts_[group] += groupStarts_[group - 1];
    byPerson_.resize(doses_.size());
    std::vector<std::uint32_t> next(groupStarts_.begin(), groupStarts_.end() - 1);
    for (std::uint32_t position = 0; position < doses_.size(); ++position)
        byPerson_[next[groupOfPosition_[position]]++] = position;

    largeGroups_.clear();
    for (std::uint32_t group = 0; group + 1 < groupStarts_.size(); ++group) {
        const std::size_t first = groupStarts_[group];
        const std::size_t last = groupStarts_[group + 1];
        if (last - first <= kLargeGroupSize) continue;
        LargeGroup& large = largeGroups_[group];
        for (std::size_t i = first; i < last; ++i) {
            const DoseListEntry& entry = doses_[byPerson_[i]];
            large.starts.emplace_back(entry.startDays, byPerson_[i]);
            large.ends.emplace_back(entry.endDays, byPerson_[i]);
        }
        std::sort(large.starts.begin(), large.starts.end());
        std::sort(large.ends.begin(), large.ends.end());
    }
}

std::optional<std::uint32_t> DoseRegister::groupOf(const PersonKey& key) const {
    if (slots_.empty()) return std::nullopt;
    const std::uint32_t group = slots_[findSlot(key, KeyHash(key))].group;
    if (group == kEmptySlot) return std::nullopt;
    return group;
}

bool DoseRegister::twoOrMoreEntriesTouch(const PersonKey& key, std::int32_t lowDays,
                                         std::int32_t highDays) const {
    const std::optional<std::uint32_t> group = groupOf(key);
    return group && groupTouchedTwice(*group, lowDays, highDays);
}

bool DoseRegister::periodSharedAt(std::size_t position, const PersonKey& key, std::int32_t lowDays,
                                  std::int32_t highDays) const {
    if (position < doses_.size()) {
        const DoseListEntry& entry = doses_[position];
        if (SameKey(entry.key, key) && entry.endDays == lowDays && entry.startDays == highDays) {
            return groupTouchedTwice(groupOfPosition_[position], lowDays, highDays);
        }
    }
    return twoOrMoreEntriesTouch(key, lowDays, highDays);
}

bool DoseRegister::groupTouchedTwice(std::uint32_t group, std::int32_t lowDays,
                                     std::int32_t highDays) const {
    if (lowDays > highDays) return false;
    const auto within = [&](std::int32_t day) { return day >= lowDays && day <= highDays; };

    const auto large = largeGroups_.find(group);
    if (large == largeGroups_.end()) {
        int touching = 0;
        for (const std::uint32_t position : entriesOfPerson(group)) {
            if (touching >= 2) break;
            const DoseListEntry& entry = doses_[position];
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

IntakeSummary DoseRegister::intakesOf(std::int64_t doseLine, std::size_t& from) const {
    const std::span<const IntakeEntry> intakes = intakes_.view();
    const auto before = [&](const IntakeEntry& entry) { return entry.doseLine < doseLine; };
    std::size_t low = std::min(from, intakes.size());
    if (low > 0 && !before(intakes[low - 1])) low = 0;
    // Every intake before `low` is of an earlier line. Gallop forward to bracket the line's
    // first intake, then search the bracket.
    std::size_t high = low;
    for (std::size_t step = 1; high < intakes.size() && before(intakes[high]); step *= 2) {
        low = high + 1;
        high += step;
    }
    const auto first = std::partition_point(
        intakes.begin() + static_cast<std::ptrdiff_t>(low),
        intakes.begin() + static_cast<std::ptrdiff_t>(std::min(high, intakes.size())), before);
    IntakeSummary summary;
    auto entry = first;
    for (; entry != intakes.end() && entry->doseLine == doseLine; ++entry) {
        summary.count += 1;
        summary.total += entry->intake;
    }
    from = static_cast<std::size_t>(entry - intakes.begin());
    return summary;
}

}  // namespace talveron
