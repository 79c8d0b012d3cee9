#pragma once
// The page templates of the published site, parsed once from the copies the
// build embedded. Every page template escapes what it shows for the place it
// stands in (text, attribute, address), so a task named "<script>" stays text.

#include <string>

#include <ctemplate/template.h>

namespace velk {

using PageDictionary = ctemplate::TemplateDictionary;

class SiteTemplates {
 public:
  // Throws std::logic_error naming a template that does not parse.
  SiteTemplates();
  ~SiteTemplates();
  SiteTemplates(const SiteTemplates&) = delete;
  SiteTemplates& operator=(const SiteTemplates&) = delete;

  // The page of template `name` (e.g. "index.html.tpl") filled from `dict`;
  // the shared head and header are included by the template itself.
  std::string Expand(const std::string& name, PageDictionary& dict) const;

 private:
  ctemplate::TemplateCache* cache_;
};

// Adds the include `name` (a template file) to `dict`; the include's own
// dictionary is returned for its values.
PageDictionary* Include(PageDictionary& dict, const char* marker, const char* file);

}  // namespace velk
