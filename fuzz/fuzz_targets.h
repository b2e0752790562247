#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace talveron {

/// What a fuzz target checks for one input: the first broken invariant, or empty when all hold.
/// A crash or a sanitizer report is a finding too. `workDirectory` is a folder the check owns
/// (the runs keep their files there); it may hold the files of an earlier input.
using FuzzCheck = std::string (*)(std::string_view input,
                                  const std::filesystem::path& workDirectory);

/// One fuzz target: its name names the fuzzer executable (fuzz_NAME) and its corpus folder.
struct FuzzTarget {
    std::string_view name;
    FuzzCheck check;
};

/// Every fuzz target, in a fixed order.
std::span<const FuzzTarget> FuzzTargets();

/// The target of a name, or nullptr.
const FuzzTarget* FindFuzzTarget(std::string_view name);

}  // namespace talveron
