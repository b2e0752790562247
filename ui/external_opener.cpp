#include "ui/external_opener.h"

#include <QDesktopServices>
#include <QStandardPaths>
#include <QString>
#include <QUrl>

#include <system_error>

#include "config/status.h"

namespace talveron {

bool DesktopOpener::available() const {
    return !QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty();
}

std::string DesktopOpener::openTextFile(const std::filesystem::path& path) {
    return open(path, "text editor");
}

std::string DesktopOpener::openWebPage(const std::filesystem::path& path) {
    return open(path, "web browser");
}

std::string DesktopOpener::open(const std::filesystem::path& path, std::string_view program) {
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
    if (!available()) {
        return "Cannot open " + QuotedPath(path) +
               ": there is no program to open it with (xdg-open, of the Debian package xdg-utils, "
               "is not installed)";
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path.string())))) {
        return "Cannot open " + QuotedPath(path) + ": no " + std::string(program) +
               " could be started";
    }
    return {};
}

}  // namespace talveron
