// talveron-loadgen: writes a generated load file for benchmarks.
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "bench/load_generator.h"
#include "bench/loadgen_command.h"
#include "config/default_configuration.h"
#include "config/ini_document.h"
#include "config/profile_file.h"
#include "config/status.h"

namespace {

constexpr std::string_view kProgram = "talveron-loadgen";

int Fail(const std::string& message) {
    std::cerr << kProgram << ": " << message << '\n';
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace talveron;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const bench::LoadgenCommand command = bench::ParseLoadgenCommand(arguments);
    if (command.help) {
        std::cout << bench::LoadgenUsage();
        return 0;
    }
    if (!command.error.empty()) {
        return Fail(command.error + "\nTry '" + std::string(kProgram) + " --help'.");
    }

    IniDocument document{std::string(DefaultConfigurationText())};
    if (command.configPath) {
        if (const Status status = LoadIniFile(*command.configPath, document); !status.ok()) {
            return Fail(status.message());
        }
    }
    const auto configuration = bench::GeneratorConfiguration::Load(document);
    if (!configuration.usable()) {
        return Fail("the configuration lacks a record layout or a usable radionuclide");
    }

    std::ofstream out(command.output, std::ios::binary | std::ios::trunc);
    if (!out) return Fail("cannot create " + QuotedPath(command.output));
    const bench::GeneratedFile file = bench::WriteLoadFile(configuration, command.settings, out);
    out.close();
    if (!out) return Fail("cannot write " + QuotedPath(command.output));
    std::cout << kProgram << ": " << file.lines << " lines, " << file.bytes << " bytes, "
              << file.faults.size() << " records with a fault: " << command.output.string() << '\n';
    return 0;
}
