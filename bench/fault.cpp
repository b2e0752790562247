#include "bench/fault.h"

#include <algorithm>
#include <array>
#include <string>

#include "bench/date_text.h"
#include "bench/monitoring_periods.h"
#include "config/text.h"

namespace talveron::bench {

namespace {

struct FaultChoice {
    Fault fault;
    RecordKind kind;
    bool needsSsn = false;
    bool needsNoIntakes = false;
};

constexpr std::array<FaultChoice, 18> kChoices{{
    {Fault::LetterInPhone, RecordKind::Header},
    {Fault::LetterInSsn, RecordKind::Dose, true},
    {Fault::SumMismatch, RecordKind::Dose},
    {Fault::ZeroInsteadOfCode, RecordKind::Dose},
    {Fault::InvalidSex, RecordKind::Dose},
    {Fault::InvalidBirthMonth, RecordKind::Dose},
    {Fault::BirthAfter1999, RecordKind::Dose},
    {Fault::LowerCaseType, RecordKind::Dose, false, true},
    {Fault::TestName, RecordKind::Dose},
    {Fault::NcInDde, RecordKind::Dose},
    {Fault::MissingTrailingFields, RecordKind::Dose},
    {Fault::LongPeriod, RecordKind::Dose},
    {Fault::LetterInSsn, RecordKind::Intake, true},
    {Fault::NuclideWithoutHyphen, RecordKind::Intake},
    {Fault::ClassModeMismatch, RecordKind::Intake},
    {Fault::CommaInIntake, RecordKind::Intake},
    {Fault::LetterInSsn, RecordKind::Comment, true},
    {Fault::EmptyComment, RecordKind::Comment},
}};

const LayoutSlots::Identity& IdentityOf(RecordKind kind, const LayoutSlots& slots) {
    switch (kind) {
        case RecordKind::Intake:
            return slots.intake.identity;
        case RecordKind::Comment:
            return slots.comment.identity;
        default:
            return slots.dose.identity;
    }
}

/// Field `ordinal` of the record, trimmed and then changed by `edit`.
std::string Edited(const RecordWriter& record, int ordinal, auto edit) {
    std::string text(TrimSpaces(record.field(ordinal)));
    edit(text);
    return text;
}

void ReplaceLastDigit(std::string& text) {
    const auto digit = text.find_last_of("0123456789");
    if (digit != std::string::npos) text[digit] = 'O';
}

}  // namespace

Fault DrawFault(RecordKind kind, const FaultFacts& facts, RandomStream& random) {
    std::array<Fault, kChoices.size()> fitting{};
    std::uint32_t count = 0;
    for (const FaultChoice& choice : kChoices) {
        if (choice.kind != kind || (choice.needsSsn && !facts.ssnIdentifier) ||
            (choice.needsNoIntakes && facts.intakesFollow)) {
            continue;
        }
        fitting[count++] = choice.fault;
    }
    return fitting[random.below(count)];
}

bool ApplyFault(Fault fault, RecordKind kind, const LayoutSlots& slots, const DoseAmounts& doses,
                RecordWriter& record) {
    const LayoutSlots::Dose& dose = slots.dose;
    switch (fault) {
        case Fault::LetterInPhone: {
            const int phone = slots.header.contactPhone;
            record.set(phone, Edited(record, phone, ReplaceLastDigit));
            break;
        }
        case Fault::LetterInSsn: {
            const int id = IdentityOf(kind, slots).employeeId;
            record.set(id, Edited(record, id, ReplaceLastDigit));
            break;
        }
        case Fault::SumMismatch: {
            DoseDigits digits;
            record.set(dose.tede, DoseText(doses.tede() + 1, "ND", digits));
            break;
        }
        case Fault::ZeroInsteadOfCode:
            record.set(dose.dde, "0.000");
            break;
        case Fault::InvalidSex:
            record.set(dose.sex, "X");
            break;
        case Fault::InvalidBirthMonth:
            record.set(dose.birthDate, Edited(record, dose.birthDate,
                                              [](std::string& date) { date.replace(4, 2, "13"); }));
            break;
        case Fault::BirthAfter1999:
            record.set(dose.birthDate, Edited(record, dose.birthDate, [](std::string& date) {
                           date.replace(0, 4, "2002");
                       }));
            break;
        case Fault::LowerCaseType:
            record.set(dose.identity.recordType, "d");
            break;
        case Fault::TestName:
            record.set(dose.firstName, "TEST");
            record.set(dose.lastName, "EMPLOYEE");
            break;
        case Fault::NcInDde:
            record.set(dose.dde, "NC");
            break;
        case Fault::MissingTrailingFields:
            record.set(dose.facilityCode, "");
            record.set(dose.occupation, "");
            return true;
        case Fault::LongPeriod:
            record.set(dose.identity.monitoringStart, View(MakeDateText(kReportYear - 2, 10, 1)));
            break;
        case Fault::NuclideWithoutHyphen: {
            const int nuclide = slots.intake.radionuclide;
            record.set(nuclide, Edited(record, nuclide, [](std::string& name) {
                           name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
                       }));
            break;
        }
        case Fault::ClassModeMismatch:
            record.set(slots.intake.intakeClass, "W");
            record.set(slots.intake.mode, "G");
            break;
        case Fault::CommaInIntake: {
            const int intake = slots.intake.intake;
            record.set(intake, Edited(record, intake, [](std::string& amount) {
                           std::replace(amount.begin(), amount.end(), '.', ',');
                       }));
            break;
        }
        case Fault::EmptyComment:
            record.set(slots.comment.comment, "");
            break;
    }
    return false;
}

}  // namespace talveron::bench
