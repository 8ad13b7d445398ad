#pragma once
// Helpers shared by the exchange sources: UTF-8 texts, zip archives with size limits, XML
// parsing without network or DTD, escaping of written XML.

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <zip.h>

#include <list>
#include <memory>
#include <string>
#include <string_view>

#include "platform/exchange/Exchange.h"

namespace exchange::detail {

std::string Utf8(const String& S);
String FromUtf8(std::string_view S);
// The file's extension in lower case, with its dot (".xlsx").
std::string LowerExt(const String& FileName);
// Raises EExchangeError "<What> <file name>: <Reason>" (": <Reason>" only when given).
[[noreturn]] void Fail(const String& What, const String& FileName, const std::string& Reason = {});

// Text for XML content and attribute values: "&", "<", ">" and the double quote as entities,
// characters XML does not allow left out, UTF-8.
std::string XmlText(const String& S);
std::string XmlText(std::string_view Utf8Text);

// A zip archive opened for reading, or for changing (kept parts are copied as they are).
// Entries larger than 256 MiB, or packed more than 200 to 1 beyond 1 MiB, are refused.
class TZipArchive {
public:
  enum TMode : uint8_t { zmRead, zmChange, zmCreate };
  TZipArchive(const String& FileName, TMode Mode, const String& What);
  ~TZipArchive();
  TZipArchive(const TZipArchive&) = delete;
  TZipArchive& operator=(const TZipArchive&) = delete;

  bool Has(const std::string& Name);
  // The entry's bytes; a missing entry raises.
  std::string Read(const std::string& Name);
  // Adds or replaces an entry (Store: without compression, as the first "mimetype" of ODF).
  void Put(const std::string& Name, std::string Data, bool Store = false);
  // Writes the changes (through a temporary file that then replaces the archive).
  void Commit();

private:
  [[noreturn]] void Fail(const std::string& Reason);
  zip_t* FZip = nullptr;
  String FFileName, FWhat;
  std::list<std::string> FBuffers;  // data of the entries put, alive until Commit
};

// A new OpenDocument package: the uncompressed "mimetype" first, the manifest, content.xml.
void WriteOdfPackage(const String& FileName, const std::string& MimeType, const std::string& Content, const String& What);

struct TXmlDocFree {
  void operator()(xmlDoc* D) const { xmlFreeDoc(D); }
};
using TXmlDocPtr = std::unique_ptr<xmlDoc, TXmlDocFree>;
// Parses a document part (no network, no DTD loading, no entity substitution); failures raise
// "<What> <file>: <part> is damaged".
TXmlDocPtr ParseXml(const std::string& Bytes, const String& What, const String& FileName, const std::string& Part);
// The document serialised as UTF-8 with its declaration.
std::string SerializeXml(xmlDoc* Doc);
// The element's attribute by local name (any namespace), empty when absent.
std::string Attr(xmlNode* N, const char* LocalName);
bool HasAttr(xmlNode* N, const char* LocalName);
bool IsElement(xmlNode* N, const char* LocalName);
// The first element child (or descendant, depth first) with the local name, nullptr when none.
xmlNode* Child(xmlNode* Parent, const char* LocalName);
xmlNode* Descendant(xmlNode* Parent, const char* LocalName);
// The text below a node (text and CDATA nodes).
std::string NodeText(xmlNode* N);
// Parses a fragment of elements (in a wrapper declaring the namespaces given as
// ' xmlns:p="..."' text) and appends copies of its top elements to Parent, or inserts them
// after After, or before Before (when given). The namespaces resolve against the document's own.
void InsertFragment(xmlDoc* Doc, xmlNode* Parent, xmlNode* After, xmlNode* Before, const std::string& Namespaces,
                    const std::string& Fragment, const String& What, const String& FileName);

// The number as a worksheet text: integers plainly, else the shortest form with 15 digits.
std::string NumberText(double V);
// Whether a text is a plain decimal number that reads back to itself (no leading zeros, sign
// only "-", optional fraction and exponent), and its value.
bool PlainNumber(const String& S, double& V);

}  // namespace exchange::detail
