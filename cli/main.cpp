#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/descriptor_output.h"
#include "config/profile_file.h"
#include "run/cancel_request.h"
#include "run/clock.h"
#include "run/process_setup.h"
#include "run/temporary_file_list.h"

namespace {

// What the signal handler reaches; the handler may touch nothing else.
talveron::CancelRequest interrupted;
// Room for both outputs of as many runs as --jobs allows, and more.
talveron::TemporaryFileList temporaries(1024);
std::atomic<int> firstSignal{0};

/// The first SIGINT or SIGTERM cancels the runs, which finish their outputs; a second one ends
/// the program at once, leaving no temporary file.
extern "C" void OnInterrupt(int signal) {
    int none = 0;
    if (firstSignal.compare_exchange_strong(none, signal)) {
        interrupted.request();
        return;
    }
    temporaries.removeAll();
    ::_exit(128 + firstSignal.load());
}

/// The width of the terminal on standard error; 80 when it does not say.
int TerminalColumns() {
    winsize size{};
    return ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
}

}  // namespace

int main(int argc, char** argv) {
    talveron::PrepareProcessForOutputs();
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    ::sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);

    std::ios::sync_with_stdio(false);
    talveron::DescriptorOutput standardOutput(STDOUT_FILENO);
    std::ostream out(&standardOutput);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const talveron::SystemClock clock;
    const auto variable = [](const char* name) -> const char* { return std::getenv(name); };
    const talveron::CliEnvironment environment{talveron::ConfigurationDirectory(variable),
                                               clock,
                                               &interrupted,
                                               &temporaries,
                                               ::isatty(STDOUT_FILENO) == 1,
                                               ::isatty(STDERR_FILENO) == 1,
                                               TerminalColumns(),
                                               variable};
    const int status = talveron::RunCli(arguments, out, std::cerr, environment);
    const int signal = firstSignal.load();
    return signal != 0 ? 128 + signal : status;
}
