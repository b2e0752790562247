#include "report/finding_identity.h"

#include "config/rule_fields.h"
#include "config/text.h"
#include "engine/dose_register.h"
#include "report/personal_data_mask.h"

namespace talveron {

namespace {

/// FNV-1a over parts, each ended by a byte no text part holds, so that parts cannot run into
/// each other.
class Digest {
public:
    void add(std::string_view bytes) {
        value_ = Fnv1a(std::string_view("", 1), Fnv1a(bytes, value_));
    }
    IdentityDigest value() const { return value_; }

private:
    IdentityDigest value_ = Fnv1a({});
};

}  // namespace

std::uint64_t Fnv1a(std::string_view bytes, std::uint64_t state) {
    for (const char c : bytes) {
        state ^= static_cast<unsigned char>(c);
        state *= 0x100000001b3ULL;
    }
    return state;
}

bool HasPerson(char recordType) {
    return recordType == 'D' || recordType == 'I' || recordType == 'C';
}

IdentityDigest DigestOf(const FindingIdentity& identity, bool personMasked) {
    Digest digest;
    digest.add(std::string_view(&identity.recordType, 1));
    if (HasPerson(identity.recordType)) {
        const std::string masked =
            personMasked ? MaskedEmployeeId(identity.idType, identity.employeeId) : std::string();
        const PersonKey key = MakePersonKey(
            identity.idType, personMasked ? std::string_view(masked) : identity.employeeId);
        digest.add(std::string_view(key.data(), key.size()));
    }
    digest.add(identity.monitoringStart);
    digest.add(identity.monitoringEnd);
    digest.add(DefinitionOf(identity.code).name);
    digest.add(identity.fieldName);
    return digest.value();
}

FindingIdentifier::FindingIdentifier(const LayoutTable& layouts) {
    const auto spanOf = [](const RecordLayout& layout, std::string_view name) {
        const FieldDef* field = layout.field(FindField(layout, name));
        return field == nullptr || field->len <= 0 ? Span{} : Span{field->start, field->len};
    };
    const auto person = [&](RecordType type) {
        const RecordLayout& layout = layouts.of(type);
        return PersonFields{
            spanOf(layout, field_names::kIdType), spanOf(layout, field_names::kEmployeeId), {}, {}};
    };
    intake_ = person(RecordType::Intake);
    comment_ = person(RecordType::Comment);
    dose_ = person(RecordType::Dose);
    const RecordLayout& dose = layouts.of(RecordType::Dose);
    dose_.monitoringStart = spanOf(dose, field_names::kMonitoringStart);
    dose_.monitoringEnd = spanOf(dose, field_names::kMonitoringEnd);
}

const FindingIdentifier::PersonFields* FindingIdentifier::fieldsOf(char recordType) const {
    switch (recordType) {
        case 'D':
            return &dose_;
        case 'I':
            return &intake_;
        case 'C':
            return &comment_;
        default:
            return nullptr;
    }
}

FindingIdentity FindingIdentifier::of(const Finding& finding, const FindingPlace& place) const {
    FindingIdentity identity;
    identity.recordType = place.recordType;
    identity.code = finding.code;
    identity.fieldName = place.fieldName;
    const PersonFields* fields = fieldsOf(place.recordType);
    if (fields == nullptr) return identity;
    // A short record holds part of a field or none of it.
    const std::string_view record = finding.record;
    const auto value = [&](Span span) {
        if (span.start < 1 || static_cast<std::size_t>(span.start) > record.size()) {
            return std::string_view();
        }
        return TrimSpaces(record.substr(static_cast<std::size_t>(span.start - 1),
                                        static_cast<std::size_t>(span.length)));
    };
    identity.idType = value(fields->idType);
    identity.employeeId = value(fields->employeeId);
    identity.monitoringStart = value(fields->monitoringStart);
    identity.monitoringEnd = value(fields->monitoringEnd);
    return identity;
}

}  // namespace talveron
