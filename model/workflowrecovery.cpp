#include "model/workflowrecovery.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "model/workflowdoc.h"

namespace velk {

namespace fs = std::filesystem;

namespace {

constexpr char kLockSuffix[] = ".lock";
constexpr char kCopySuffix[] = ".json";

// The part of a file name before its first '-' (copies) or its suffix (locks).
std::string TagOf(const fs::path& file) {
  const std::string stem = file.stem().string();
  return stem.substr(0, stem.find('-'));
}

std::string NewTag() {
  std::random_device random;
  std::ostringstream tag;
  tag << getpid() << 'x' << std::hex << random();
  return tag.str();
}

}  // namespace

RecoveryFolder::RecoveryFolder(std::string directory)
    : directory_(std::move(directory)), tag_(NewTag()) {
  std::error_code ec;
  fs::create_directories(directory_, ec);
  const std::string lock = directory_ + "/" + tag_ + kLockSuffix;
  lockFd_ = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (lockFd_ >= 0 && ::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
    ::close(lockFd_);
    lockFd_ = -1;
  }
}

RecoveryFolder::~RecoveryFolder() {
  if (lockFd_ < 0) return;
  // Copies still here belong to workflows that were not saved or closed: a
  // modeler torn down without closing its windows. They stay for the next start.
  std::error_code ec;
  fs::remove(directory_ + "/" + tag_ + kLockSuffix, ec);
  ::close(lockFd_);
}

std::string RecoveryFolder::NewFile() {
  return directory_ + "/" + tag_ + "-" + std::to_string(++next_) + kCopySuffix;
}

std::string RecoveryFolder::CopyOf(const CWorkflowDoc& doc) {
  WorkflowJson copy;
  copy["workflowId"] = doc.Top().Header().workflowId;
  copy["workflow"] = WorkflowToJson(doc.Top());
  return copy.dump();
}

bool RecoveryFolder::Write(const std::string& file, const std::string& text) {
  const std::string temporary = file + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << text;
    out.flush();
    if (!out) return false;
  }
  std::error_code ec;
  fs::rename(temporary, file, ec);
  return !ec;
}

void RecoveryFolder::Remove(const std::string& file) {
  std::error_code ec;
  fs::remove(file, ec);
}

bool RecoveryFolder::OwnerEnded(const std::string& tag) const {
  if (tag == tag_) return false;
  const std::string lock = directory_ + "/" + tag + kLockSuffix;
  const int fd = ::open(lock.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return true;  // its lock is gone with it
  const bool ended = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  ::close(fd);
  return ended;
}

std::vector<RecoveredWorkflow> RecoveryFolder::LeftOver() const {
  std::vector<RecoveredWorkflow> found;
  if (!Usable()) return found;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(directory_, ec)) {
    const fs::path& file = entry.path();
    if (file.extension() != kCopySuffix || !entry.is_regular_file() || !OwnerEnded(TagOf(file)))
      continue;
    std::ifstream in(file, std::ios::binary);
    const WorkflowJson copy = WorkflowJson::parse(in, nullptr, /*allow_exceptions=*/false);
    if (!copy.is_object() || !copy.contains("workflow") ||
        !copy.value("workflowId", WorkflowJson()).is_string())
      continue;
    found.push_back({file.string(), copy["workflow"], copy["workflowId"].get<std::string>()});
  }
  return found;
}

void RecoveryFolder::RemoveStaleLocks() const {
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(directory_, ec))
    if (entry.path().extension() == kLockSuffix && OwnerEnded(TagOf(entry.path())))
      fs::remove(entry.path(), ec);
}

}  // namespace velk
