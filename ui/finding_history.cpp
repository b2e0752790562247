#include "ui/finding_history.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <system_error>

namespace talveron {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kHeading = "talveron-findings 1";
constexpr std::string_view kExtension = ".findings";

/// The load path a history is keyed by: absolute and without "." or "..".
std::string Key(const fs::path& loadFile) {
    std::error_code ignored;  // a path that cannot be made absolute is keyed as given
    const fs::path absolute = fs::absolute(loadFile, ignored);
    return (ignored ? loadFile : absolute).lexically_normal().string();
}

Status WriteFailed(const fs::path& file, int error) {
    return Status::Error(Status::Code::WriteFailed,
                         "Cannot write " + QuotedPath(file) + ": " + std::strerror(error));
}

}  // namespace

void WriteFindingHistory(std::ostream& out, std::string_view loadPath,
                         std::span<const IdentityDigest> digests) {
    out << kHeading << '\n' << loadPath << '\n' << digests.size() << '\n';
    for (const IdentityDigest digest : digests) {
        std::array<char, 8> bytes;
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<char>((digest >> (8 * i)) & 0xff);
        out.write(bytes.data(), bytes.size());
    }
}

std::optional<std::vector<IdentityDigest>> ReadFindingHistory(std::istream& in,
                                                              std::string_view loadPath) {
    std::string heading, path, count;
    if (!std::getline(in, heading) || heading != kHeading || !std::getline(in, path) ||
        path != loadPath || !std::getline(in, count))
        return std::nullopt;
    std::size_t size = 0;
    const auto [end, error] = std::from_chars(count.data(), count.data() + count.size(), size);
    if (error != std::errc() || end != count.data() + count.size() || size > kMaxKeptFindings)
        return std::nullopt;
    std::vector<IdentityDigest> digests(size);
    for (IdentityDigest& digest : digests) {
        std::array<unsigned char, 8> bytes;
        if (!in.read(reinterpret_cast<char*>(bytes.data()), bytes.size())) return std::nullopt;
        for (std::size_t i = bytes.size(); i-- > 0;) digest = digest << 8 | bytes[i];
    }
    if (in.peek() != std::istream::traits_type::eof()) return std::nullopt;
    return digests;
}

std::optional<std::vector<IdentityDigest>> FindingHistory::load(const fs::path& loadFile) const {
    if (directory_.empty()) return std::nullopt;
    std::ifstream in(fileOf(loadFile), std::ios::binary);
    if (!in) return std::nullopt;
    return ReadFindingHistory(in, Key(loadFile));
}

Status FindingHistory::save(const fs::path& loadFile, std::span<const IdentityDigest> digests) {
    if (directory_.empty()) return Status::Ok();
    const fs::path file = fileOf(loadFile);
    std::error_code error;
    if (digests.size() > kMaxKeptFindings) {
        fs::remove(file, error);
        return error ? WriteFailed(file, error.value()) : Status::Ok();
    }
    fs::create_directories(directory_, error);
    if (error) return WriteFailed(directory_, error.value());
    // Written aside and renamed into place, so that a crash leaves the last history or this one.
    fs::path written = file;
    written += ".new";
    {
        std::ofstream out(written, std::ios::binary | std::ios::trunc);
        WriteFindingHistory(out, Key(loadFile), digests);
        if (!out.flush()) {
            const int failure = errno != 0 ? errno : EIO;
            fs::remove(written, error);
            return WriteFailed(written, failure);
        }
    }
    fs::rename(written, file, error);
    if (error) {
        const int failure = error.value();
        fs::remove(written, error);
        return WriteFailed(file, failure);
    }
    prune();
    return Status::Ok();
}

fs::path FindingHistory::fileOf(const fs::path& loadFile) const {
    char name[17];
    std::snprintf(name, sizeof name, "%016llx",
                  static_cast<unsigned long long>(Fnv1a(Key(loadFile))));
    return directory_ / (std::string(name) + std::string(kExtension));
}

void FindingHistory::prune() const {
    std::vector<std::pair<fs::file_time_type, fs::path>> files;
    std::error_code error;  // what cannot be listed or removed stays; the next save tries again
    for (const auto& entry : fs::directory_iterator(directory_, error)) {
        if (entry.path().extension() != kExtension) continue;
        const fs::file_time_type written = entry.last_write_time(error);
        if (!error) files.emplace_back(written, entry.path());
    }
    if (files.size() <= kMaxKeptLoadFiles) return;
    std::sort(files.begin(), files.end());
    for (std::size_t i = 0; i < files.size() - kMaxKeptLoadFiles; ++i)
        fs::remove(files[i].second, error);
}

}  // namespace talveron
