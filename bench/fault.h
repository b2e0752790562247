#pragma once

#include <string_view>

#include "bench/dose_amounts.h"
#include "bench/layout_slots.h"
#include "bench/random_stream.h"
#include "bench/record_writer.h"

namespace talveron::bench {

enum class RecordKind { Header, Dose, Intake, Comment };

/// The mistakes licensees typically make. Each gives at least one finding on the record it is
/// worked into and none on any other record.
enum class Fault {
    LetterInPhone,          ///< header: letter O for a zero in the contact phone
    LetterInSsn,            ///< letter O for a zero in an SSN
    SumMismatch,            ///< dose: TEDE one thousandth off DDE + CEDE
    ZeroInsteadOfCode,      ///< dose: DDE written 0.000
    InvalidSex,             ///< dose: Sex X
    InvalidBirthMonth,      ///< dose: birth date with month 13
    BirthAfter1999,         ///< dose: birth year 2002
    LowerCaseType,          ///< dose: record type d
    TestName,               ///< dose: a test record left in the file
    NcInDde,                ///< dose: NC in DDE
    MissingTrailingFields,  ///< dose: no facility and occupation, written without trailing blanks
    LongPeriod,             ///< dose: monitoring period of more than 13 months
    NuclideWithoutHyphen,   ///< intake: I131 for I-131
    ClassModeMismatch,      ///< intake: class W with mode G
    CommaInIntake,          ///< intake: decimal comma in the intake
    EmptyComment,           ///< comment: no comment text
};

/// What decides which faults fit a record.
struct FaultFacts {
    bool ssnIdentifier = false;  ///< ID_Type SSN with a non-empty Employee_ID
    bool intakesFollow = false;  ///< a dose record with intake records below it
};

/// A fault for a record of the kind, drawn evenly among those that fit it. A lower-case record
/// type is never drawn for a dose record with intakes: they would move to the dose record above.
Fault DrawFault(RecordKind kind, const FaultFacts& facts, RandomStream& random);

/// Works the fault into a record of the kind that `record` holds. `doses` are the amounts of a
/// dose record. Returns true when the record must be written without its trailing blanks.
bool ApplyFault(Fault fault, RecordKind kind, const LayoutSlots& slots, const DoseAmounts& doses,
                RecordWriter& record);

}  // namespace talveron::bench
