#include "tests/support/installedservices.h"

namespace velk {
namespace {
HeadlessServices& fallback() {
  static HeadlessServices instance;
  return instance;
}
Services* installed = nullptr;
}  // namespace

Services& services() {
  return installed ? *installed : fallback();
}

void setServices(Services* s) {
  installed = s;
}

}  // namespace velk
