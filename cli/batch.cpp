#include "cli/batch.h"

#include <sys/stat.h>

#include <algorithm>
#include <condition_variable>
#include <map>
#include <mutex>
#include <sstream>
#include <system_error>
#include <thread>
#include <utility>

#include "run/run_folder.h"
#include "run/run_paths.h"

namespace talveron {

std::vector<std::vector<std::size_t>> GroupBySharedKeys(
    std::span<const std::vector<std::string>> keys) {
    // Union-find over the files: each key joins its files.
    std::vector<std::size_t> parent(keys.size());
    for (std::size_t index = 0; index < keys.size(); ++index) parent[index] = index;
    const auto root = [&](std::size_t index) {
        while (parent[index] != index) index = parent[index] = parent[parent[index]];
        return index;
    };
    std::map<std::string, std::size_t> firstWithKey;
    for (std::size_t index = 0; index < keys.size(); ++index) {
        for (const std::string& key : keys[index]) {
            const auto [found, added] = firstWithKey.try_emplace(key, index);
            if (!added) {
                const std::size_t a = root(found->second), b = root(index);
                parent[std::max(a, b)] = std::min(a, b);
            }
        }
    }
    std::map<std::size_t, std::size_t> groupOfRoot;
    std::vector<std::vector<std::size_t>> groups;
    for (std::size_t index = 0; index < keys.size(); ++index) {
        const auto [group, added] = groupOfRoot.try_emplace(root(index), groups.size());
        if (added) groups.emplace_back();
        groups[group->second].push_back(index);
    }
    return groups;
}

namespace {

std::string IdentityKey(FileIdentity id) {
    return std::to_string(id.device) + ':' + std::to_string(id.inode);
}

std::string NameKey(const RunFolder& folder, const std::string& name) {
    return IdentityKey(folder.identity()) + '/' + name;
}

}  // namespace

std::string NameKey(const std::string& path) {
    RunFolder folder;
    if (!RunFolder::Open(path, folder).ok()) return {};
    return NameKey(folder, folder.loadName());
}

std::vector<std::string> TouchedKeys(const std::string& loadPath, const OutputPlace& outputs) {
    RunFolder folder;
    if (!RunFolder::Open(loadPath, folder).ok()) return {};
    std::vector<std::string> keys{NameKey(folder, folder.loadName())};
    RunFolder outputFolder;
    const RunFolder* written = &folder;
    if (outputs.kind == OutputPlace::Kind::Folder) {
        if (!RunFolder::OpenOutputs(outputs.folder, folder.loadName(), outputFolder).ok())
            return {};
        written = &outputFolder;
    }
    if (outputs.kind != OutputPlace::Kind::Nowhere) {
        const RunPaths paths = DeriveRunPaths(folder.loadName());
        for (const auto& output : {paths.results, paths.report})
            keys.push_back(NameKey(*written, output.string()));
    }
    struct stat info {};
    if (::fstatat(folder.descriptor(), folder.loadName().c_str(), &info, 0) == 0) {
        keys.push_back("load " + IdentityKey({info.st_dev, info.st_ino}));
    }
    return keys;
}

std::thread StartSystemThread(std::function<void()> work) { return std::thread(std::move(work)); }

int RunGroups(std::size_t fileCount, const std::vector<std::vector<std::size_t>>& groups, int jobs,
              const FileTask& task, std::ostream& out, std::ostream& err,
              const StartThread& start) {
    int highest = 0;
    if (jobs <= 1 || groups.size() <= 1) {
        // Sequential: stream in file order (groups hold their files in order, so walk files).
        for (std::size_t index = 0; index < fileCount; ++index)
            highest = std::max(highest, task(index, out, err));
        return highest;
    }

    struct Slot {
        std::ostringstream out;
        std::ostringstream err;
        int status = 0;
        bool done = false;
    };
    std::vector<Slot> slots(fileCount);
    std::mutex mutex;
    std::condition_variable finished;
    std::size_t nextGroup = 0;

    auto worker = [&] {
        for (;;) {
            std::size_t group;
            {
                std::lock_guard lock(mutex);
                if (nextGroup == groups.size()) return;
                group = nextGroup++;
            }
            for (std::size_t index : groups[group]) {
                const int status = task(index, slots[index].out, slots[index].err);
                std::lock_guard lock(mutex);
                slots[index].status = status;
                slots[index].done = true;
                finished.notify_all();
            }
        }
    };
    std::vector<std::thread> workers;
    const auto count = std::min<std::size_t>(static_cast<std::size_t>(jobs), groups.size());
    try {
        for (std::size_t i = 0; i < count; ++i) workers.push_back(start(worker));
    } catch (const std::system_error&) {
        // Out of threads: those started do the work, or this thread alone.
        if (workers.empty()) return RunGroups(fileCount, groups, 1, task, out, err);
    }

    for (std::size_t index = 0; index < fileCount; ++index) {
        std::unique_lock lock(mutex);
        finished.wait(lock, [&] { return slots[index].done; });
        lock.unlock();
        out << slots[index].out.view();
        err << slots[index].err.view();
        out.flush();
        highest = std::max(highest, slots[index].status);
        slots[index].out = std::ostringstream();
        slots[index].err = std::ostringstream();
    }
    for (std::thread& thread : workers) thread.join();
    return highest;
}

}  // namespace talveron
