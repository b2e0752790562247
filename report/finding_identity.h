#pragma once

#include <cstdint>
#include <string_view>

#include "config/option_settings.h"
#include "config/record_layout.h"
#include "engine/finding.h"

namespace talveron {

/// What makes a finding the same finding in a later export of its load file, where records move
/// and lines shift: the record type; for dose, intake and comment records the person
/// (ID_Type and Employee_ID, as the dose list keys them); for dose records the monitoring period;
/// the check code and the field. Views are into the finding's record or texts.
struct FindingIdentity {
    char recordType = 0;               ///< 'H' for line 1; 0 when the record has no type
    std::string_view idType;           ///< trimmed; empty but for dose, intake and comment records
    std::string_view employeeId;       ///< trimmed; empty but for those records
    std::string_view monitoringStart;  ///< trimmed; empty but for dose records
    std::string_view monitoringEnd;    ///< trimmed; empty but for dose records
    OptionKey code = OptionKey::IRT;
    std::string_view fieldName;  ///< empty when the finding names no field
};

/// Whether records of this type are a person's: dose, intake and comment records.
bool HasPerson(char recordType);

/// The digest identities are compared by: equal identities have equal digests, and two different
/// identities share one about once in 2^64. Stable across runs and program versions.
using IdentityDigest = std::uint64_t;

/// 64-bit FNV-1a of `bytes`, going on from `state` (the offset basis for a start), as identities
/// are digested.
std::uint64_t Fnv1a(std::string_view bytes, std::uint64_t state = 0xcbf29ce484222325ULL);

/// The digest of an identity: of its record type, its person key as MakePersonKey forms it, its
/// monitoring period, its check code's name and its field name. With `personMasked`, an SSN
/// Employee_ID counts as masking shows it, so that a finding compares with one printed masked.
IdentityDigest DigestOf(const FindingIdentity& identity, bool personMasked = false);

/// Reads the identities of findings from their records, by the fields of the layouts.
class FindingIdentifier {
public:
    /// `layouts` must outlive the identifier.
    explicit FindingIdentifier(const LayoutTable& layouts);

    /// The identity of a finding as a run reports it; views into its record and place.
    FindingIdentity of(const Finding& finding, const FindingPlace& place) const;

private:
    struct Span {
        std::int32_t start = 0;  ///< 1-based; 0 when the layout has no such field
        std::int32_t length = 0;
    };
    struct PersonFields {
        Span idType, employeeId, monitoringStart, monitoringEnd;
    };
    const PersonFields* fieldsOf(char recordType) const;

    PersonFields dose_, intake_, comment_;
};

}  // namespace talveron
