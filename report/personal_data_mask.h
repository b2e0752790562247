#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/record_layout.h"

namespace talveron {

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

private:
    struct Span {
        std::int32_t start = 0;  ///< 1-based
        std::int32_t length = 0;
    };
    struct TypeFields {
        char type = 0;
        Span employeeId, idType;
        std::vector<Span> always;  ///< masked whatever the ID type
    };
    std::vector<TypeFields> types_;
};

}  // namespace talveron
