#include "bench/microbench/sample_load.h"

#include <sstream>

#include "config/default_configuration.h"
#include "engine/registration.h"

namespace talveron::bench {

SampleLoad::SampleLoad(std::int64_t records, Shape shape, FaultShare faults)
    : document_(std::string(DefaultConfigurationText())),
      configuration_(GeneratorConfiguration::Load(document_)),
      options_(LoadOptionSettings(document_)),
      lists_(ValueLists::Load(document_)),
      fields_(KnownFields::Find(configuration_.layouts)) {
    std::ostringstream out;
    WriteLoadFile(configuration_, {records, faults, 7, shape}, out);
    bytes_ = std::move(out).str();
    std::string_view rest = bytes_;
    while (!rest.empty()) {
        const auto end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines_.push_back(line);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
}

std::vector<std::string_view> SampleLoad::linesOfType(char type) const {
    std::vector<std::string_view> found;
    for (const std::string_view line : lines_) {
        if (line.size() > 40 && line[40] == type) found.push_back(line);
    }
    return found;
}

void SampleLoad::registerInto(DoseRegister& doses) const {
    DoseRegistration registration(layouts(), fields_, kBenchmarkAsOf, doses);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        registration.registerLine(lines_[i], static_cast<std::int64_t>(i + 1));
    }
    doses.buildIndex();
}

}  // namespace talveron::bench
