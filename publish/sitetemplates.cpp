#include "publish/sitetemplates.h"

#include <ctemplate/template_cache.h>

#include <stdexcept>

#include "publish/sitefiles.h"

namespace velk {

SiteTemplates::SiteTemplates() : cache_(new ctemplate::TemplateCache) {
  for (const SiteFile& file : SiteFiles()) {
    if (!file.name.ends_with(".tpl")) continue;
    const std::string name(file.name);
    if (!cache_->StringToTemplateCache(name, file.text.data(), file.text.size(),
                                       ctemplate::DO_NOT_STRIP)) {
      delete cache_;
      throw std::logic_error("the page template " + name + " does not parse");
    }
  }
}

SiteTemplates::~SiteTemplates() { delete cache_; }

std::string SiteTemplates::Expand(const std::string& name, PageDictionary& dict) const {
  std::string out;
  if (!cache_->ExpandWithData(name, ctemplate::DO_NOT_STRIP, &dict, nullptr, &out))
    throw std::logic_error("the page template " + name + " cannot be expanded");
  return out;
}

PageDictionary* Include(PageDictionary& dict, const char* marker, const char* file) {
  PageDictionary* included = dict.AddIncludeDictionary(marker);
  included->SetFilename(file);
  return included;
}

}  // namespace velk
