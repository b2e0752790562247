#pragma once

#include <cstddef>
#include <functional>
#include <ostream>
#include <span>
#include <vector>

#include "run/run_paths.h"

namespace talveron {

/// The files that must run one after another, in command-line order: files whose results or
/// report paths coincide form one group. Groups are ordered by their first file.
std::vector<std::vector<std::size_t>> GroupBySharedOutputs(std::span<const RunPaths> paths);

/// Validates one file (by index), printing to the given streams; returns its exit status.
using FileTask = std::function<int(std::size_t index, std::ostream& out, std::ostream& err)>;

/// Runs the task for every file, up to `jobs` groups at once. Each file's output reaches `out`
/// and `err` whole and in file order; with one job it streams straight through. Returns the
/// highest exit status.
int RunGroups(std::size_t fileCount, const std::vector<std::vector<std::size_t>>& groups, int jobs,
              const FileTask& task, std::ostream& out, std::ostream& err);

}  // namespace talveron
