#pragma once
// A small argument reader: positional words, "--name value" and "-x value" options.

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace velkcli {

// A usage error: the message is printed with a hint to --help, exit code 2.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class Args {
 public:
  // `valued` names the options that take a value, `flags` those that do not;
  // anything else starting with "--" is a usage error.
  Args(const std::vector<std::string>& words, const std::vector<std::string>& valued,
       const std::vector<std::string>& flags = {});

  const std::vector<std::string>& positional() const { return positional_; }
  std::string at(std::size_t i, const char* what) const;
  std::optional<std::string> option(const std::string& name) const;
  bool flag(const std::string& name) const;
  // Fails on positional words beyond `count`.
  void expectAtMost(std::size_t count) const;

 private:
  std::vector<std::string> positional_;
  std::map<std::string, std::string> options_;
  std::vector<std::string> flags_;
};

}  // namespace velkcli
