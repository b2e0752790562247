#include "bench/dose_amounts.h"

#include <algorithm>

namespace talveron::bench {

namespace {

/// Occupational doses are mostly small with a long tail.
std::int32_t DrawDeepDose(RandomStream& random) {
    if (random.chance(2500)) return 0;
    const std::uint32_t tier = random.below(100);
    if (tier < 70) return random.between(1, 250);
    if (tier < 95) return random.between(251, 1500);
    return random.between(1501, 4000);
}

std::int32_t DrawCommittedDose(RandomStream& random) {
    const std::uint32_t tier = random.below(100);
    if (tier < 85) return random.between(1, 100);
    if (tier < 98) return random.between(101, 800);
    return random.between(801, 1000);
}

/// A dose at least `base` and up to `spread` parts in `parts` above it.
std::int32_t Above(RandomStream& random, std::int32_t base, std::int32_t spread,
                   std::int32_t parts) {
    return base + random.between(0, base * spread / parts);
}

}  // namespace

DoseAmounts DrawDoseAmounts(RandomStream& random, bool withIntake) {
    // Limits kept: DDE + CEDE <= 5.000 (TEDE), LDE <= 15.000, SDE_WB, SDE_ME and TODE <= 50.000.
    DoseAmounts doses;
    doses.zeroCode = random.chance(8000) ? "ND" : "NR";
    doses.dde = DrawDeepDose(random);
    if (withIntake) {
        doses.cede = DrawCommittedDose(random);
        doses.cde = Above(random, doses.cede, 20, 1);
    } else {
        doses.cdeNotCalculated = random.chance(300);
    }
    if (doses.dde > 0) {
        doses.lde = Above(random, doses.dde, 1, 4);
        doses.sdeWb = Above(random, doses.dde, 1, 3);
    }
    if (random.chance(6000)) {
        doses.sdeMe = doses.dde > 0 ? Above(random, doses.dde, 11, 1) : random.between(1, 500);
    }
    return doses;
}

std::string_view DoseText(std::int32_t thousandths, std::string_view zeroCode, DoseDigits& digits) {
    if (thousandths <= 0) return zeroCode;
    char* end = digits.data() + digits.size();
    char* cursor = end;
    for (int place = 0; place < 3; ++place) {
        *--cursor = static_cast<char>('0' + thousandths % 10);
        thousandths /= 10;
    }
    *--cursor = '.';
    do {
        *--cursor = static_cast<char>('0' + thousandths % 10);
        thousandths /= 10;
    } while (thousandths > 0);
    return {cursor, static_cast<std::size_t>(end - cursor)};
}

DoseTexts DoseTextSet::write(const DoseAmounts& doses) {
    const std::string_view measuredZero = doses.zeroCode;
    const std::string_view committedZero = doses.cdeNotCalculated ? "NC" : measuredZero;
    return {DoseText(doses.cede, measuredZero, digits_[0]),
            DoseText(doses.cde, committedZero, digits_[1]),
            doses.cdeNotCalculated ? "NC" : DoseText(doses.tode(), "ND", digits_[2]),
            DoseText(doses.dde, measuredZero, digits_[3]),
            DoseText(doses.tede(), "ND", digits_[4]),
            DoseText(doses.lde, measuredZero, digits_[5]),
            DoseText(doses.sdeWb, measuredZero, digits_[6]),
            DoseText(doses.sdeMe, "NR", digits_[7])};
}

}  // namespace talveron::bench
