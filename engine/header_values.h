#pragma once

#include <string>

namespace talveron {

/// The licensee values of the header record (line 1), printed by the summary report.
struct HeaderValues {
    std::string licenseNo;           ///< header field 1
    std::string licenseeName;        ///< header field 3
    std::string contactPerson;       ///< header field 4
    std::string associatedLicenses;  ///< field 6, then every further non-empty field after a ","
};

}  // namespace talveron
