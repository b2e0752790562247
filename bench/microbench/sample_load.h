#pragma once

#include <cstdint>
#include <span>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "bench/load_generator.h"
#include "config/ini_document.h"
#include "config/option_settings.h"
#include "config/value_lists.h"
#include "engine/calendar.h"
#include "engine/dose_register.h"
#include "engine/known_fields.h"

namespace talveron::bench {

/// The moment the benchmarks validate as of, after every generated date.
inline constexpr LocalDateTime kBenchmarkAsOf{2025, 3, 1, 0, 0, 0};

/// A generated load file for the shipped production configuration, held in memory with what the
/// engine needs to check it. Built before a benchmark's timed loop.
class SampleLoad {
public:
    explicit SampleLoad(std::int64_t records, Shape shape = Shape::Normal,
                        FaultShare faults = FaultShare::None);

    const std::string& bytes() const { return bytes_; }
    /// Every line without its line end, in file order.
    std::span<const std::string_view> lines() const { return lines_; }
    /// The lines whose character 41 is `type`.
    std::vector<std::string_view> linesOfType(char type) const;

    const LayoutTable& layouts() const { return configuration_.layouts; }
    const OptionSettings& options() const { return options_; }
    const ValueLists& lists() const { return lists_; }
    const KnownFields& fields() const { return fields_; }

    /// Runs the registration pass over the sample into `doses` and builds the index.
    void registerInto(DoseRegister& doses) const;

private:
    IniDocument document_;
    GeneratorConfiguration configuration_;
    OptionSettings options_;
    ValueLists lists_;
    KnownFields fields_;
    std::string bytes_;
    std::vector<std::string_view> lines_;
};

/// An input stream buffer over bytes held elsewhere, rewound without copying them.
class ViewStreamBuffer : public std::streambuf {
public:
    explicit ViewStreamBuffer(std::string_view bytes) : bytes_(bytes) { rewind(); }
    void rewind() {
        char* first = const_cast<char*>(bytes_.data());
        setg(first, first, first + bytes_.size());
    }

private:
    std::string_view bytes_;
};

}  // namespace talveron::bench
