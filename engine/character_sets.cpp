#include "engine/character_sets.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "engine/byte_block.h"

namespace talveron {
namespace {

/// The bytes of a block that the class allows; each part of the class is one or two vector
/// operations, compiled for that class alone.
template <const CharacterClass& kClass>
std::uint32_t AllowedBytes(ByteBlock block) {
    // Setting bit 5 turns an upper-case letter into its lower-case one and leaves lower-case
    // letters as they are; no byte that is not a letter becomes one.
    const ByteBlock folded = block | 0x20;
    ByteLanes allowed{};
    if constexpr (kClass.letters) allowed |= InRange(folded, 'a', 'z');
    if constexpr (kClass.digits) allowed |= InRange(block, '0', '9');
    for (const char upper : kClass.someLetters) {
        allowed |= folded == static_cast<unsigned char>(upper | 0x20);
    }
    for (const char other : kClass.others) allowed |= block == static_cast<unsigned char>(other);
    return MaskOf(allowed);
}

/// AllAllowed of a text longer than a block or within a block of the readable end. Kept out of
/// line so that the common case needs no registers saved.
template <const CharacterClass& kClass>
[[gnu::noinline]] bool AllAllowedInBlocks(std::string_view text, const char* readableEnd) {
    for (std::size_t at = 0; at < text.size(); at += kBlockSize) {
        const std::size_t count = std::min(kBlockSize, text.size() - at);
        const ByteBlock block = LoadBlock(text.data() + at, readableEnd);
        if ((~AllowedBytes<kClass>(block) & FirstBytes(count)) != 0) return false;
    }
    return true;
}

template <const CharacterClass& kClass>
bool AllAllowed(std::string_view text, const char* readableEnd) {
    // An empty text may have no data at all to measure from.
    if (text.empty()) return true;
    if (text.size() > kBlockSize || readableEnd - text.data() < std::ptrdiff_t{kBlockSize}) {
        return AllAllowedInBlocks<kClass>(text, readableEnd);
    }
    return (~AllowedBytes<kClass>(LoadBlock(text.data())) & FirstBytes(text.size())) == 0;
}

template <const CharacterClass& kClass>
constexpr CharacterSet Set(Rule rule) {
    CharacterSet set{kClass, rule, {}, &AllAllowed<kClass>};
    for (std::size_t byte = 0; byte < set.table.size(); ++byte) {
        set.table[byte] = kClass.allows(static_cast<char>(byte));
    }
    return set;
}

constexpr std::string_view kAlphaPrefix = "Alpha value contains invalid character '";
constexpr std::string_view kAlphaNumericPrefix = "Alphanumeric Value contains invalid character '";

// Classes are written {letters, digits, someLetters, others}.
constexpr CharacterClass kLetters{true, false, "", ""};
constexpr CharacterClass kLettersAndBlank{true, false, "", " "};
constexpr CharacterClass kPhoneCharacters{false, true, "", " ()-"};
constexpr CharacterClass kLettersAndDigits{true, true, "", ""};
constexpr CharacterClass kNameCharacters{true, false, "", ".-,' "};
constexpr CharacterClass kDoseCharacters{false, true, "NRDC", "."};
constexpr CharacterClass kNuclideCharacters{true, true, "", "-"};
constexpr CharacterClass kScientificCharacters{false, true, "E", "+-."};

constexpr CharacterSet kAlpha = Set<kLetters>({OptionKey::AIC, Level::Error, kAlphaPrefix});
constexpr CharacterSet kAlphaSpace =
    Set<kLettersAndBlank>({OptionKey::AIC, Level::Error, kAlphaPrefix});
constexpr CharacterSet kPhone =
    Set<kPhoneCharacters>({OptionKey::PIC, Level::Error, "Phone # contains invalid character '"});
constexpr CharacterSet kAlphaNumeric =
    Set<kLettersAndDigits>({OptionKey::ANIC, Level::Error, kAlphaNumericPrefix});
constexpr CharacterSet kLastName =
    Set<kNameCharacters>({OptionKey::ANIC, Level::Error, kAlphaNumericPrefix});
constexpr CharacterSet kDose =
    Set<kDoseCharacters>({OptionKey::DVIC, Level::Error, "Dose contains invalid character '"});
constexpr CharacterSet kRadionuclide = Set<kNuclideCharacters>(
    {OptionKey::RVCI, Level::Error, "Radionuclide value contains invalid character '"});
constexpr CharacterSet kScientific = Set<kScientificCharacters>(
    {OptionKey::NVCIC, Level::Error, "Scientific notation value contains invalid character '"});

}  // namespace

const CharacterSet* CharacterSetOf(FieldType type) {
    switch (type) {
        case FieldType::Alpha:
        case FieldType::List:
            return &kAlpha;
        case FieldType::AlphaSpace:
            return &kAlphaSpace;
        case FieldType::Phone:
            return &kPhone;
        case FieldType::AlphaNumeric:
            return &kAlphaNumeric;
        case FieldType::LastName:
            return &kLastName;
        case FieldType::Dose:
            return &kDose;
        case FieldType::Radionuclide:
            return &kRadionuclide;
        case FieldType::Scientific:
            return &kScientific;
        case FieldType::None:
        case FieldType::Date:
            return nullptr;
    }
    return nullptr;
}

}  // namespace talveron
