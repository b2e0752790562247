#include "run/process_setup.h"

#include <fcntl.h>
#include <signal.h>

namespace talveron {

void PrepareProcessForOutputs() {
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (::fcntl(descriptor, F_GETFD) == -1) ::open("/dev/null", O_RDWR);
    }
    ::signal(SIGPIPE, SIG_IGN);
    ::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace talveron
