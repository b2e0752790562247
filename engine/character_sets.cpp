#include "engine/character_sets.h"

#include <cstddef>

namespace talveron {
namespace {

constexpr std::string_view kAlphaPrefix = "Alpha value contains invalid character '";
constexpr std::string_view kAlphaNumericPrefix = "Alphanumeric Value contains invalid character '";

// Classes are written {letters, digits, someLetters, others}.
constexpr CharacterSet Set(CharacterClass allowed, Rule rule) {
    CharacterSet set{allowed, rule, {}};
    for (std::size_t byte = 0; byte < set.table.size(); ++byte) {
        set.table[byte] = allowed.allows(static_cast<char>(byte));
    }
    return set;
}

constexpr CharacterSet kAlpha =
    Set({true, false, "", ""}, {OptionKey::AIC, Level::Error, kAlphaPrefix});
constexpr CharacterSet kAlphaSpace =
    Set({true, false, "", " "}, {OptionKey::AIC, Level::Error, kAlphaPrefix});
constexpr CharacterSet kPhone =
    Set({false, true, "", " ()-"},
        {OptionKey::PIC, Level::Error, "Phone # contains invalid character '"});
constexpr CharacterSet kAlphaNumeric =
    Set({true, true, "", ""}, {OptionKey::ANIC, Level::Error, kAlphaNumericPrefix});
constexpr CharacterSet kLastName =
    Set({true, false, "", ".-,' "}, {OptionKey::ANIC, Level::Error, kAlphaNumericPrefix});
constexpr CharacterSet kDose =
    Set({false, true, "NRDC", "."},
        {OptionKey::DVIC, Level::Error, "Dose contains invalid character '"});
constexpr CharacterSet kRadionuclide =
    Set({true, true, "", "-"},
        {OptionKey::RVCI, Level::Error, "Radionuclide value contains invalid character '"});
constexpr CharacterSet kScientific =
    Set({false, true, "E", "+-."},
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
