#include "model/kinds.h"

#include <array>

namespace velk {

const char* RoutingKindName(RoutingKind kind) {
  static constexpr std::array<const char*, kRoutingKindCount> names = {"And", "Or", "Xor", "Cor",
                                                                       "Else"};
  const int code = static_cast<int>(kind);
  return code >= 0 && code < kRoutingKindCount ? names[code] : names[0];
}

bool RoutingHasCondition(RoutingKind kind) {
  return kind == RoutingKind::Or || kind == RoutingKind::Xor || kind == RoutingKind::Cor;
}

bool RoutingHasFormula(RoutingKind kind) {
  return kind == RoutingKind::Cor;
}

}  // namespace velk
