#include "cliargs.h"

#include <algorithm>

namespace velkcli {

namespace {
bool contains(const std::vector<std::string>& list, const std::string& name) {
  return std::find(list.begin(), list.end(), name) != list.end();
}
}  // namespace

Args::Args(const std::vector<std::string>& words, const std::vector<std::string>& valued,
           const std::vector<std::string>& flags) {
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (w.size() > 2 && w.rfind("--", 0) == 0) {
      std::string name = w.substr(2);
      if (auto eq = name.find('='); eq != std::string::npos) {
        options_[name.substr(0, eq)] = name.substr(eq + 1);
      } else if (contains(valued, name)) {
        if (i + 1 >= words.size()) throw UsageError("option --" + name + " needs a value");
        options_[name] = words[++i];
      } else if (contains(flags, name)) {
        flags_.push_back(name);
      } else {
        throw UsageError("unknown option --" + name);
      }
    } else if (w.size() == 2 && w[0] == '-' && w[1] != '-') {
      // A one-letter option such as -o takes a value like its long form.
      const std::string name = w.substr(1);
      if (!contains(valued, name)) throw UsageError("unknown option " + w);
      if (i + 1 >= words.size()) throw UsageError("option " + w + " needs a value");
      options_[name] = words[++i];
    } else {
      positional_.push_back(w);
    }
  }
  for (const auto& entry : options_)
    if (!contains(valued, entry.first)) throw UsageError("unknown option --" + entry.first);
}

std::string Args::at(std::size_t i, const char* what) const {
  if (i >= positional_.size()) throw UsageError(std::string("missing ") + what);
  return positional_[i];
}

std::optional<std::string> Args::option(const std::string& name) const {
  auto it = options_.find(name);
  if (it == options_.end()) return std::nullopt;
  return it->second;
}

bool Args::flag(const std::string& name) const {
  return contains(flags_, name);
}

void Args::expectAtMost(std::size_t count) const {
  if (positional_.size() > count)
    throw UsageError("unexpected argument \"" + positional_[count] + "\"");
}

}  // namespace velkcli
