#pragma once
// Tests and benchmarks only: services installed for the length of a scope, for the
// fixtures and helpers not handed services of their own. Neither program has any
// such thing; their services come from their composition roots.

#include "common/headlessservices.h"

namespace velk {

// The installed services; a HeadlessServices of its own until one is installed.
Services& services();
// Installs `s` (not owned); nullptr restores the headless default.
void setServices(Services* s);

// Installs a HeadlessServices for the lifetime of a scope.
class ScopedHeadlessServices {
 public:
  ScopedHeadlessServices() { setServices(&services_); }
  ~ScopedHeadlessServices() { setServices(nullptr); }
  HeadlessServices* operator->() { return &services_; }
  HeadlessServices& get() { return services_; }

 private:
  HeadlessServices services_;
};

}  // namespace velk
