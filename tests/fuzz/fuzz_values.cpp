// Item values as the store keeps them: a damaged file hands the decoder any bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "repository/store/lnencoding.h"

using namespace lnstore;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (LNItemType type : {LNItemType::Text, LNItemType::Numbers, LNItemType::Datetimes}) {
    FirstValue first;
    DecodeFirstValue(type, bytes, &first);
    LNItem item;
    item.type = type;
    if (!DecodeValues(bytes, &item)) continue;
    // What decodes encodes to bytes that decode to the same values.
    std::string again;
    EncodeValues(item, &again);
    LNItem back;
    back.type = type;
    if (!DecodeValues(again, &back) || back.texts != item.texts ||
        back.numbers.size() != item.numbers.size())
      __builtin_trap();
  }
  return 0;
}
