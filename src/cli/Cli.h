#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace qloom::cli {

// Exit codes of qloom-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitNotProject = 1; // the file is not a project of this version
inline constexpr int kExitFailed = 2;     // bad input, a load stopped by an error, a failed write
// Nothing written to protect the project: it is open in a running qLoom, or its script is
// read-only; --force writes anyway.
inline constexpr int kExitRefused = 3;
inline constexpr int kExitUsage = 64;

// Runs one command; `args` excludes the program name. Results go to `out`, messages to `err`.
int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err);

// A message on one line: its line breaks become single blanks.
std::string OneLine(const std::string& message);

} // namespace qloom::cli
