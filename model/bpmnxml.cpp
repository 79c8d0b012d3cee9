#include "model/bpmnxml.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <stdexcept>

namespace velk {

namespace {

// Why the parse was stopped by one of our own guards, and the parser's first
// complaint (later ones mostly follow from it).
struct Refusal {
  std::string reason;
  std::string firstError;
  int firstErrorLine = 0;
};

Refusal& RefusalOf(void* context) {
  return *static_cast<Refusal*>(static_cast<xmlParserCtxt*>(context)->_private);
}

void Refuse(void* context, const std::string& reason) {
  Refusal& refusal = RefusalOf(context);
  if (refusal.reason.empty()) refusal.reason = reason;
  xmlStopParser(static_cast<xmlParserCtxt*>(context));
}

// A document type declaration is where entities (and so "billion laughs" and
// references to outside files) are declared; BPMN files have none.
void RefuseDoctype(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
  Refuse(context, "it declares a document type (<!DOCTYPE>), which a BPMN file does not");
}
void RefuseEntity(void* context, const xmlChar* name, int, const xmlChar*, const xmlChar*,
                  xmlChar*) {
  Refuse(context,
         "it declares the entity \"" + std::string(reinterpret_cast<const char*>(name)) + "\"");
}

void StartElementWithinDepth(void* context, const xmlChar* localname, const xmlChar* prefix,
                             const xmlChar* uri, int nbNamespaces, const xmlChar** namespaces,
                             int nbAttributes, int nbDefaulted, const xmlChar** attributes) {
  if (static_cast<xmlParserCtxt*>(context)->nameNr > kMaxXmlDepth) {
    Refuse(context, "its elements nest more than " + std::to_string(kMaxXmlDepth) + " levels deep");
    return;
  }
  xmlSAX2StartElementNs(context, localname, prefix, uri, nbNamespaces, namespaces, nbAttributes,
                        nbDefaulted, attributes);
}

// Kept for the message instead of printed.
void KeepFirstError(void* context, xmlError* error) {
  Refusal& refusal = RefusalOf(context);
  if (!refusal.firstError.empty() || !error || !error->message) return;
  refusal.firstError = error->message;
  refusal.firstErrorLine = error->line;
}

struct ContextFree {
  void operator()(xmlParserCtxt* context) const { xmlFreeParserCtxt(context); }
};

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

}  // namespace

XmlDocument ParseXmlSafely(std::string_view text) {
  if (text.size() > kMaxXmlBytes)
    throw std::runtime_error("it is larger than " + std::to_string(kMaxXmlBytes >> 20) +
                             " MB, more than a workflow needs");
  std::unique_ptr<xmlParserCtxt, ContextFree> context(xmlNewParserCtxt());
  if (!context) throw std::runtime_error("out of memory");
  Refusal refusal;
  context->_private = &refusal;
  xmlSAXHandler* sax = context->sax;
  sax->internalSubset = RefuseDoctype;
  sax->externalSubset = RefuseDoctype;
  sax->entityDecl = RefuseEntity;
  sax->startElementNs = StartElementWithinDepth;
  sax->serror = KeepFirstError;
  // No entity substitution, no DTD loading, no network: the file alone is read.
  // Blanks between elements (the indentation) are dropped, a text of blanks alone kept.
  const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING |
                      XML_PARSE_NOCDATA | XML_PARSE_NOBLANKS | XML_PARSE_COMPACT;
  XmlDocument doc(xmlCtxtReadMemory(context.get(), text.data(), static_cast<int>(text.size()),
                                    nullptr, nullptr, options));
  if (!refusal.reason.empty()) throw std::runtime_error(refusal.reason);
  if (!doc || !context->wellFormed) {
    const std::string why = refusal.firstError.empty() ? "unreadable" : Trimmed(refusal.firstError);
    const int line = refusal.firstErrorLine;
    throw std::runtime_error("it is not well-formed XML" +
                             (line > 0 ? " (line " + std::to_string(line) + ")" : std::string()) +
                             ": " + why);
  }
  return doc;
}

std::string_view LocalName(const xmlNode* node) {
  return node && node->name ? reinterpret_cast<const char*>(node->name) : "";
}

bool InNamespace(const xmlNode* node, const char* ns) {
  return node && node->ns && node->ns->href &&
         std::string_view(reinterpret_cast<const char*>(node->ns->href)) == ns;
}

bool IsElement(const xmlNode* node, const char* ns, std::string_view name) {
  return node && node->type == XML_ELEMENT_NODE && InNamespace(node, ns) && LocalName(node) == name;
}

std::vector<xmlNode*> ChildElements(const xmlNode* parent, const char* ns) {
  std::vector<xmlNode*> children;
  for (xmlNode* c = parent ? parent->children : nullptr; c; c = c->next)
    if (c->type == XML_ELEMENT_NODE && (!ns || InNamespace(c, ns))) children.push_back(c);
  return children;
}

xmlNode* FirstChild(const xmlNode* parent, const char* ns, std::string_view name) {
  for (xmlNode* c = parent ? parent->children : nullptr; c; c = c->next)
    if (IsElement(c, ns, name)) return c;
  return nullptr;
}

std::string Attribute(const xmlNode* node, const char* name, const char* ns) {
  const auto* n = reinterpret_cast<const xmlChar*>(name);
  xmlChar* value =
      ns ? xmlGetNsProp(node, n, reinterpret_cast<const xmlChar*>(ns)) : xmlGetNoNsProp(node, n);
  if (!value) return {};
  std::string text(reinterpret_cast<const char*>(value));
  xmlFree(value);
  return text;
}

bool HasAttribute(const xmlNode* node, const char* name, const char* ns) {
  const auto* n = reinterpret_cast<const xmlChar*>(name);
  return ns ? xmlHasNsProp(node, n, reinterpret_cast<const xmlChar*>(ns)) != nullptr
            : xmlHasNsProp(node, n, nullptr) != nullptr;
}

std::string TextOf(const xmlNode* node) {
  xmlChar* content = xmlNodeGetContent(node);
  if (!content) return {};
  std::string text(reinterpret_cast<const char*>(content));
  xmlFree(content);
  return text;
}

}  // namespace velk
