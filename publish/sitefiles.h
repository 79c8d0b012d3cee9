#pragma once
// The page templates and the style sheet and script of the published site, as
// the build embedded them from publish/templates.

#include <string_view>
#include <vector>

namespace velk {

struct SiteFile {
  std::string_view name;  // relative to publish/templates, e.g. "assets/site.css"
  std::string_view text;
};

const std::vector<SiteFile>& SiteFiles();

}  // namespace velk
