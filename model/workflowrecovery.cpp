#include "model/workflowrecovery.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "common/infocenter.h"
#include "common/services.h"
#include "model/jsonlimits.h"
#include "model/workflowdoc.h"
#include "model/workflowundo.h"

namespace velk {

namespace fs = std::filesystem;

namespace {

constexpr char kLockSuffix[] = ".lock";
constexpr char kCopySuffix[] = ".json";
constexpr char kSetAsideSuffix[] = ".unreadable";
// Far more than a copy of the largest workflow takes.
constexpr std::uintmax_t kMaxCopyBytes = 64u << 20;

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
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  bool written = true;
  for (std::size_t done = 0; written && done < text.size();) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    written = n > 0;
    if (written) done += static_cast<std::size_t>(n);
  }
  // On disk before it replaces the last copy: a crash of the machine right after
  // the rename must not leave an empty file where a good copy was.
  written = ::fsync(fd) == 0 && written;
  written = ::close(fd) == 0 && written;
  std::error_code ec;
  if (written) fs::rename(temporary, file, ec);
  if (!written || ec) fs::remove(temporary, ec);
  return written && !ec;
}

void RecoveryFolder::Remove(const std::string& file) {
  std::error_code ec;
  fs::remove(file, ec);
}

std::string RecoveryFolder::SetAside(const std::string& file) {
  std::error_code ec;
  std::string aside = file + kSetAsideSuffix;
  for (int n = 2; fs::exists(aside, ec) && n < 100; ++n)
    aside = file + "." + std::to_string(n) + kSetAsideSuffix;
  fs::rename(file, aside, ec);
  return ec ? std::string() : aside;
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

namespace {

// A copy is a JSON object {"workflowId": text, "workflow": {...}}; anything else,
// however it came about, is reported with the reason and never trusted further.
RecoveredWorkflow ReadCopy(const fs::path& file) {
  RecoveredWorkflow copy{file.string(), {}, {}, {}};
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(file, ec);
  std::ifstream in(file, std::ios::binary);
  if (ec || !in) {
    copy.fault = "the file cannot be opened";
  } else if (size == 0) {
    copy.fault = "the file is empty";
  } else if (size > kMaxCopyBytes) {
    copy.fault = "the file is larger than any recovery copy";
  } else {
    try {
      const WorkflowJson json = ParseJsonWithinDepth(in);
      const bool holdsWorkflow = json.is_object() && json.contains("workflow") &&
                                 json["workflow"].is_object() && json.contains("workflowId") &&
                                 json["workflowId"].is_string();
      if (holdsWorkflow) {
        copy.workflow = json["workflow"];
        copy.workflowId = json["workflowId"].get<std::string>();
      } else {
        copy.fault = "the file holds no workflow";
      }
    } catch (const WorkflowJson::parse_error& e) {
      copy.fault = "the file is damaged (no complete JSON document; the fault is at byte " +
                   std::to_string(e.byte) + ")";
    } catch (const std::exception& e) {
      copy.fault = e.what();
    }
  }
  return copy;
}

}  // namespace

std::vector<RecoveredWorkflow> RecoveryFolder::LeftOver() const {
  std::vector<RecoveredWorkflow> found;
  if (!Usable()) return found;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(directory_, ec)) {
    const fs::path& file = entry.path();
    if (file.extension() == kCopySuffix && entry.is_regular_file() && OwnerEnded(TagOf(file)))
      found.push_back(ReadCopy(file));
  }
  return found;
}

void RecoveryFolder::RemoveStaleLocks() const {
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(directory_, ec))
    if (entry.path().extension() == kLockSuffix && OwnerEnded(TagOf(entry.path())))
      fs::remove(entry.path(), ec);
}

namespace {

void ReportUnreadable(Services& services, const RecoveredWorkflow& copy) {
  const std::string kept = RecoveryFolder::SetAside(copy.file);
  services.infoCenter().addEntry(
      kRecoveryCategory,
      "Recovery copy " + fs::path(copy.file).filename().string() + " cannot be read",
      "The recovery copy " + copy.file + " cannot be read: " + copy.fault +
          (kept.empty() ? "\r\nIt could not be moved aside and stays where it is."
                        : "\r\nIt is kept as " + kept + "."),
      0, Severity::Error);
}

}  // namespace

void RecoverLeftOverCopies(Services& services, const RecoveryFolder& folder,
                           const std::function<std::shared_ptr<CWorkflowDoc>()>& newDocument,
                           const std::function<void(std::shared_ptr<CWorkflowDoc>)>& offer) {
  services.infoCenter().clearCategory(kRecoveryCategory);
  for (RecoveredWorkflow& copy : folder.LeftOver()) {
    std::shared_ptr<CWorkflowDoc> doc;
    if (copy.fault.empty()) {
      doc = newDocument();
      try {
        WorkflowFromJson(copy.workflow, *doc);
      } catch (const std::exception& e) {
        copy.fault = e.what();
      }
    }
    if (!copy.fault.empty()) {
      ReportUnreadable(services, copy);
      continue;
    }
    WorkflowHeader header = doc->Header();
    header.workflowId = copy.workflowId;
    doc->SetHeader(header);
    doc->SetNew(copy.workflowId.empty());
    // What is stored is what the workflow was loaded as, reached by no undo step.
    doc->Session().History().MarkNotSaved();
    doc->Session().SetModified();
    offer(std::move(doc));
    RecoveryFolder::Remove(copy.file);
  }
  folder.RemoveStaleLocks();
}

}  // namespace velk
