#pragma once

namespace talveron {

/// What a program that writes outputs sets up first. Standard input, output or error closed at
/// start are opened on /dev/null, so that no output file takes their place and gets messages
/// written into it. A closed pipe and a file-size limit are made errors of the write that meets
/// them (EPIPE, EFBIG), reported like any other, instead of signals that end the program.
void PrepareProcessForOutputs();

}  // namespace talveron
