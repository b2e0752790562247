#pragma once

#include <cstddef>
#include <functional>
#include <ostream>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "run/run_paths.h"

namespace talveron {

/// The files that must run one after another, in command-line order: files that share a key
/// (an output they would both write, the load file they both name) form one group, also through
/// other files. Groups are ordered by their first file.
std::vector<std::vector<std::size_t>> GroupBySharedKeys(
    std::span<const std::vector<std::string>> keys);

/// What a load path would touch with its outputs put at `outputs`, as keys that are equal exactly
/// when two paths touch the same thing: the identity of the folder the outputs go to with each
/// output's name, the identity of the load file's folder with its name, and the identity of the
/// load file. A path that cannot be resolved has no keys (its run fails on its own).
std::vector<std::string> TouchedKeys(const std::string& loadPath, const OutputPlace& outputs);

/// The key of the name `path` gives a file in its folder, as TouchedKeys forms it, so a file
/// written there can be told from the names a run touches; empty when the folder cannot be
/// opened.
std::string NameKey(const std::string& path);

/// Validates one file (by index), printing to the given streams; returns its exit status.
using FileTask = std::function<int(std::size_t index, std::ostream& out, std::ostream& err)>;

/// Starts a thread that runs `work`; throws std::system_error when the system gives none.
using StartThread = std::function<std::thread(std::function<void()> work)>;

std::thread StartSystemThread(std::function<void()> work);

/// Runs the task for every file, up to `jobs` groups at once. Each file's output reaches `out`
/// and `err` whole and in file order; with one job it streams straight through. Where fewer
/// threads than asked can be started, those started do the work, and where none can, the files
/// run one after another on the calling thread. Returns the highest exit status.
int RunGroups(std::size_t fileCount, const std::vector<std::vector<std::size_t>>& groups, int jobs,
              const FileTask& task, std::ostream& out, std::ostream& err,
              const StartThread& start = StartSystemThread);

}  // namespace talveron
