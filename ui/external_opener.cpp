#include "ui/external_opener.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include <system_error>

#include "config/status.h"

namespace talveron {

namespace {

bool Open(const std::filesystem::path& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path.string())));
}

}  // namespace

std::string DesktopOpener::openTextFile(const std::filesystem::path& path) {
    // The opener runs detached and cannot tell us about a missing file, so look first.
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (!std::filesystem::is_regular_file(status)) {
        const std::string reason =
            std::filesystem::exists(status)
                ? "it is not a file"
                : std::make_error_code(std::errc::no_such_file_or_directory).message();
        return "Cannot open " + QuotedPath(path) + ": " + reason;
    }
    if (!Open(path)) return "Cannot open " + QuotedPath(path) + ": no text editor could be started";
    return {};
}

void DesktopOpener::openDocument(const std::filesystem::path& path) {
    static_cast<void>(Open(path));
}

}  // namespace talveron
