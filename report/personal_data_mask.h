#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/record_layout.h"

namespace talveron {

/// The ID_Type whose Employee_ID is personal data.
inline constexpr std::string_view kMaskedIdType = "SSN";

/// A byte as masking shows it: '#' for a digit, 'X' for a letter, anything else as it is.
char MaskedByte(char c);

/// Every byte of `text` masked.
std::string MaskedText(std::string_view text);

/// A trimmed Employee_ID as masking shows it: masked whole when the trimmed `idType` is SSN.
std::string MaskedEmployeeId(std::string_view idType, std::string_view employeeId);

/// Hides the personal data of a record before it is shown to others: in dose records the name
/// fields (First_Name, Last_Name, Middle_Initial) and Birth_Date, and in dose, intake and comment
/// records the Employee_ID when ID_Type is "SSN". Each letter becomes 'X' and each digit '#'; the
/// record keeps its length and every other byte.
class PersonalDataMask {
public:
    explicit PersonalDataMask(const LayoutTable& layouts);

    /// The record of type `recordType` ('D', 'I', 'C'; any other type is not masked) with its
    /// personal data masked, except the byte at 1-based `keep` (0: none), which a finding points
    /// at and so stays readable.
    std::string apply(std::string_view record, char recordType, std::int32_t keep) const;

    /// The trimmed value of field `column` (1-based) of a record of type `recordType` whose
    /// ID_Type is `idType`, masked whole when the field holds personal data (an earlier run's
    /// finding, whose record is not at hand).
    std::string applyToValue(std::string_view value, char recordType, std::int32_t column,
                             std::string_view idType) const;

private:
    struct Span {
        std::int32_t start = 0;  ///< 1-based
        std::int32_t length = 0;
        std::int32_t column = 0;  ///< the field's ordinal in its layout; 0 when there is none
    };
    struct TypeFields {
        char type = 0;
        Span employeeId, idType;
        std::vector<Span> always;  ///< masked whatever the ID type
    };
    const TypeFields* fieldsOf(char recordType) const;

    std::vector<TypeFields> types_;
};

}  // namespace talveron
