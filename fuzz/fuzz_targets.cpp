#include "fuzz/fuzz_targets.h"

#include <algorithm>
#include <array>

#include "fuzz/date_checks.h"
#include "fuzz/ini_document_checks.h"
#include "fuzz/number_checks.h"
#include "fuzz/run_checks.h"

namespace talveron {

namespace {

constexpr std::array kTargets{
    FuzzTarget{"ini_document", CheckIniDocument},
    FuzzTarget{"number", CheckNumberConversion},
    FuzzTarget{"dates", CheckDateParsing},
    FuzzTarget{"run_production", CheckRunWithProductionConfiguration},
    FuzzTarget{"run_configured", CheckRunWithFuzzedConfiguration},
};

}  // namespace

std::span<const FuzzTarget> FuzzTargets() { return kTargets; }

const FuzzTarget* FindFuzzTarget(std::string_view name) {
    const auto it = std::find_if(kTargets.begin(), kTargets.end(),
                                 [&](const FuzzTarget& target) { return target.name == name; });
    return it == kTargets.end() ? nullptr : &*it;
}

}  // namespace talveron
