#pragma once
// XML for BPMN files, through libxml2: reading a file given to the program with
// every way out of it closed (no DTD, no entities, no network), its nesting and
// size bounded; and the element walk the importer needs.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <libxml/tree.h>

namespace velk {

// The format's own namespace names, which other tools recognise a BPMN file by:
// they must stand exactly as published.
inline constexpr char kBpmnModelNs[] = "http://www.omg.org/spec/BPMN/20100524/MODEL";
inline constexpr char kBpmnDiNs[] = "http://www.omg.org/spec/BPMN/20100524/DI";
inline constexpr char kDcNs[] = "http://www.omg.org/spec/DD/20100524/DC";
inline constexpr char kDiNs[] = "http://www.omg.org/spec/DD/20100524/DI";
inline constexpr char kXsiNs[] = "http://www.w3.org/2001/XMLSchema-instance";
// Where the fields of a workflow that BPMN has no element for travel.
inline constexpr char kVelkNs[] = "urn:x-velkmod:bpmn-extension:1";

// Deeper than any BPMN file needs: a workflow's clusters nest one level each.
inline constexpr int kMaxXmlDepth = 200;
inline constexpr std::size_t kMaxXmlBytes = 128u * 1024u * 1024u;

struct XmlDocFree {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using XmlDocument = std::unique_ptr<xmlDoc, XmlDocFree>;

// Parses `text`; throws std::runtime_error saying why it is refused: not
// well-formed (with the line), a DTD or entity declaration, nesting deeper than
// kMaxXmlDepth, more than kMaxXmlBytes.
XmlDocument ParseXmlSafely(std::string_view text);

// The element's namespace-free name, and whether it lies in namespace `ns`.
std::string_view LocalName(const xmlNode* node);
bool InNamespace(const xmlNode* node, const char* ns);
bool IsElement(const xmlNode* node, const char* ns, std::string_view name);
// Child elements of `parent` (in namespace `ns` when given).
std::vector<xmlNode*> ChildElements(const xmlNode* parent, const char* ns = nullptr);
// The first child element `name` of namespace `ns`, or null.
xmlNode* FirstChild(const xmlNode* parent, const char* ns, std::string_view name);
// An attribute without namespace (or in `ns`); empty when absent.
std::string Attribute(const xmlNode* node, const char* name, const char* ns = nullptr);
bool HasAttribute(const xmlNode* node, const char* name, const char* ns = nullptr);
// The text the element holds.
std::string TextOf(const xmlNode* node);

}  // namespace velk
