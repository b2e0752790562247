#include "config/value_lists.h"

#include <algorithm>

namespace talveron {
namespace {

struct ListDefinition {
    ValueList list;
    std::string_view section;
    OptionKey checkSwitch;
};

constexpr std::array<ListDefinition, kValueListCount> kLists{{
    {ValueList::IDType, "ID_Type_List", OptionKey::IDTypeList},
    {ValueList::RecordType, "Record_Type_List", OptionKey::RecordTypeList},
    {ValueList::Sex, "Sex_List", OptionKey::SexList},
    {ValueList::ReportType, "Report_Type_List", OptionKey::ReportTypeList},
    {ValueList::ExposureType, "Exposure_Type_List", OptionKey::ExposureTypeList},
    {ValueList::Class, "Class_List", OptionKey::ClassList},
    {ValueList::Mode, "Mode_List", OptionKey::ModeList},
    {ValueList::Radionuclide, "Radionuclide_List", OptionKey::RadionuclideList},
}};

// Lookups read the list with "$" as the default, so an empty value and a value of exactly "$"
// both read as a miss.
constexpr std::string_view kMissMarker = "$";

unsigned char FoldByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

const ListDefinition& DefinitionOfList(ValueList list) {
    return kLists[static_cast<std::size_t>(list)];
}

}  // namespace

bool MarksValidValue(std::string_view entryValue) {
    return !entryValue.empty() && entryValue != kMissMarker;
}

std::string_view SectionOf(ValueList list) { return DefinitionOfList(list).section; }

OptionKey SwitchOf(ValueList list) { return DefinitionOfList(list).checkSwitch; }

std::optional<ValueList> ValueListOfSection(std::string_view sectionName) {
    const auto it = std::find_if(kLists.begin(), kLists.end(),
                                 [&](const ListDefinition& d) { return d.section == sectionName; });
    if (it == kLists.end()) return std::nullopt;
    return it->list;
}

std::size_t ValueLists::FoldedHash::operator()(std::string_view text) const {
    // FNV-1a over the folded bytes, so that names differing only in letter case collide.
    std::size_t hash = 14695981039346656037ULL;
    for (const char c : text) hash = (hash ^ FoldByte(c)) * 1099511628211ULL;
    return hash;
}

bool ValueLists::FoldedEqual::operator()(std::string_view a, std::string_view b) const {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return FoldByte(x) == FoldByte(y); });
}

std::uint64_t ValueLists::Pack(std::string_view value) {
    std::uint64_t packed = value.size();
    for (const char c : value) packed = packed << 8 | FoldByte(c);
    return packed;
}

ValueLists::PackedSet::PackedSet(const std::vector<std::uint64_t>& values) {
    int bits = 1;
    while ((std::size_t{1} << bits) < 2 * values.size()) ++bits;
    shift_ = 64 - bits;
    slots_.assign(std::size_t{1} << bits, kEmpty);
    for (const std::uint64_t packed : values) slots_[slotOf(packed)] = packed;
}

std::size_t ValueLists::PackedSet::slotOf(std::uint64_t packed) const {
    // Fibonacci hashing spreads the packed bytes over the top bits; collisions probe onward.
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = static_cast<std::size_t>((packed * 0x9E3779B97F4A7C15ULL) >> shift_);
    while (slots_[slot] != kEmpty && slots_[slot] != packed) slot = (slot + 1) & mask;
    return slot;
}

bool ValueLists::PackedSet::contains(std::uint64_t packed) const {
    return slots_[slotOf(packed)] == packed;
}

ValueLists ValueLists::Load(const IniDocument& configuration) {
    ValueLists loaded;
    for (const ListDefinition& definition : kLists) {
        const auto index = static_cast<std::size_t>(definition.list);
        std::vector<std::uint64_t> packed;
        configuration.forEachKey(definition.section,
                                 [&](std::string_view key, std::string_view value) {
                                     if (!MarksValidValue(value)) return;
                                     if (key.size() <= kPackedLength) {
                                         packed.push_back(Pack(key));
                                     } else {
                                         loaded.lists_[index].emplace(key);
                                     }
                                 });
        loaded.packed_[index] = PackedSet(packed);
    }
    return loaded;
}

bool ValueLists::contains(ValueList list, std::string_view value) const {
    const auto index = static_cast<std::size_t>(list);
    if (value.size() <= kPackedLength) return packed_[index].contains(Pack(value));
    return lists_[index].find(value) != lists_[index].end();
}

}  // namespace talveron
