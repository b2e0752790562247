#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "bench/fault.h"
#include "config/ini_document.h"
#include "config/record_layout.h"

namespace talveron::bench {

/// How many records get a typical fault.
enum class FaultShare { None, OnePercent, All };

/// The overall form of the file.
enum class Shape {
    Normal,     ///< realistic people and records, CR LF line ends
    OnePerson,  ///< dose records only, every Employee_ID blank: all share one person key
    LongLines,  ///< every line carries 10,000 more characters after its last field
    LfOnly,     ///< LF line ends
};

struct GeneratorSettings {
    std::int64_t records = 0;  ///< records after the header
    FaultShare faults = FaultShare::None;
    std::uint64_t seed = 1;
    Shape shape = Shape::Normal;
};

/// The characters a long-lines record carries after its layout's full width.
inline constexpr std::size_t kLongLineExtra = 10'000;

/// What the generator takes from a configuration: the record layouts (all widths and positions
/// come from them) and the radionuclides it may name.
struct GeneratorConfiguration {
    LayoutTable layouts;
    std::vector<std::string> radionuclides;

    static GeneratorConfiguration Load(const IniDocument& configuration);
    /// Every record layout has fields and at least one radionuclide fits the intake layout.
    bool usable() const;
};

/// A record that got a fault.
struct FaultyRecord {
    std::int64_t line = 0;  ///< line number, from 1
    Fault fault = Fault::LetterInPhone;
};

/// What was written.
struct GeneratedFile {
    std::int64_t lines = 0;
    std::int64_t bytes = 0;
    std::int64_t doseRecords = 0;
    std::int64_t intakeRecords = 0;
    std::int64_t commentRecords = 0;
    std::vector<FaultyRecord> faults;  ///< in file order
};

/// Writes a load file for the configuration: the licensee header, then people in turn, each with
/// one to twelve dose records in monitoring periods of the report year that never share a day.
/// A dose record with CEDE above zero is followed by one to three intake records, and now and
/// then a comment follows. Doses keep every dose rule unless a fault is worked in. The same
/// settings and configuration give the same bytes. The configuration must be usable().
GeneratedFile WriteLoadFile(const GeneratorConfiguration& configuration,
                            const GeneratorSettings& settings, std::ostream& out);

}  // namespace talveron::bench
