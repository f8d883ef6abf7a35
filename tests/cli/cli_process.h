#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace torvanik::testing {

// How the child starts, beyond its arguments.
struct CliStart {
    bool stderrOnTerminal = false;
    unsigned short terminalColumns = 0;  // the width the terminal reports; 0 reports none
    // "NAME=value" to set, or "NAME" to remove, in the child's environment.
    std::vector<std::string> environment = {};
    // A file that takes standard output instead of a pipe ("/dev/full", say).
    std::string stdoutPath = {};
};

// The built torvanik-cli, run as a child with its three streams on pipes (standard error
// on a terminal when asked), so that a test talks to it as a user or a script would.
class CliProcess {
  public:
    // `configHome` becomes XDG_CONFIG_HOME, so no real settings or drives file is read.
    CliProcess(const std::vector<std::string>& arguments, const std::string& configHome,
               const CliStart& start = {});
    ~CliProcess();
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    // Standard output from where the last read stopped up to and including `marker`; none
    // when the output ends, or a minute passes, before it comes.
    std::optional<std::string> ReadUntil(std::string_view marker);
    void SendLine(std::string_view line);
    void Signal(int signal) const;
    // Closes the reading end of standard output, as a reader that has gone away does.
    void CloseOutput();
    // Ends the input, reads both outputs to their end and returns the exit status.
    int Wait();

    // Standard output not yet returned by ReadUntil.
    std::string Rest() const { return out_.substr(taken_); }
    const std::string& errors() const { return err_; }

  private:
    // Reads what is there within `timeoutMs`; false when both outputs have ended.
    bool Pump(int timeoutMs);
    void CloseInput();

    pid_t pid_ = -1;
    int in_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    std::string out_;
    std::string err_;
    std::size_t taken_ = 0;
};

}  // namespace torvanik::testing
