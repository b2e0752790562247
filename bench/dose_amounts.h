#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "bench/random_stream.h"

namespace talveron::bench {

/// The doses of one dose record in thousandths of a rem; 0 is no dose. TEDE and TODE are derived,
/// so the two sums always hold.
struct DoseAmounts {
    std::int32_t dde = 0;
    std::int32_t cede = 0;
    std::int32_t cde = 0;
    std::int32_t lde = 0;
    std::int32_t sdeWb = 0;
    std::int32_t sdeMe = 0;
    bool cdeNotCalculated = false;     ///< CDE and TODE are written NC
    std::string_view zeroCode = "ND";  ///< how this record writes a zero measured dose

    std::int32_t tede() const { return dde + cede; }
    std::int32_t tode() const { return dde + cde; }
};

/// Realistic doses that keep every dose rule: none above its limit, CDE above zero whenever CEDE
/// is, CEDE above zero only when `withIntake` (the record gets intake records).
DoseAmounts DrawDoseAmounts(RandomStream& random, bool withIntake);

/// Room for one dose text.
using DoseDigits = std::array<char, 12>;

/// A dose as written: three decimals ("0.046", "12.500") for a positive amount, `zeroCode`
/// for zero. The text lives in `digits` (or is zeroCode itself).
std::string_view DoseText(std::int32_t thousandths, std::string_view zeroCode, DoseDigits& digits);

/// The eight dose texts of a record, in the order of the dose fields.
struct DoseTexts {
    std::string_view cede, cde, tode, dde, tede, lde, sdeWb, sdeMe;
};

/// The texts of all eight doses; a zero TEDE or TODE is ND, a zero SDE_ME is NR (rarely measured).
class DoseTextSet {
public:
    DoseTexts write(const DoseAmounts& doses);

private:
    std::array<DoseDigits, 8> digits_{};
};

}  // namespace talveron::bench
