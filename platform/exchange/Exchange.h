#pragma once
// Data exchange with the files of office programs, without running any of them: workbooks
// (.xlsx, .ods, .xls read only), documents (.docx, .odt), SQLite databases and XML documents.
// Every failure raises EExchangeError (or a kind of it) naming the file.

#include <optional>
#include <vector>

#include "platform/rtl/System.h"

RTL_EXCEPTION(EExchangeError, Exception);

// An XML document that is not well-formed: the parser's error number and the line it was found.
class EXmlParseError : public EExchangeError {
public:
  EXmlParseError(String Msg, int ACode, int ALine) : EExchangeError(std::move(Msg)), Code(ACode), Line(ALine) {}
  int Code;
  int Line;
};

namespace exchange {

// ---- Worksheet column letters: 1 "A", 26 "Z", 27 "AA", 702 "ZZ", 703 "AAA". Letters that do
// not name a column (empty, not A..Z in either case, beyond 16384 columns) give 0.
String ColumnLetters(int Col);
int LettersToColumn(const String& Letters);

// ---- Workbooks, by the file's extension: .xlsx and .ods read and written, .xls read only.
// The non-empty cells of a worksheet (1-based row and column) and the range they fill.
struct TSheetCell {
  int Row = 0, Col = 0;
  String Text;
};
struct TSheetData {
  // The smallest range holding every cell; all 0 for a sheet without values.
  int Row1 = 0, Col1 = 0, Row2 = 0, Col2 = 0;
  std::vector<TSheetCell> Cells;
};
// The worksheet names in the workbook's order.
std::vector<String> WorkbookSheets(const String& FileName);
// A worksheet's values as texts (numbers in their shortest form, TRUE/FALSE, error values left
// out). An empty name reads the sheet the workbook shows first (its active sheet); a name the
// workbook lacks raises EExchangeError "Excel worksheet <name> not found".
TSheetData ReadWorkbookSheet(const String& FileName, const String& SheetName);
// Writes rows of texts from cell A1 of a worksheet; a text that is a plain decimal number is
// written as a number. A file that does not exist, or Replace, gets a new workbook holding
// only this sheet. Otherwise (.xlsx, .ods) the named sheet is replaced or added at the end and
// every other part of the file is kept as it was.
void WriteWorkbookSheet(const String& FileName, const String& SheetName, const std::vector<std::vector<String>>& Rows,
                        bool Replace);

// ---- Documents (.docx, or .odt by extension): a paragraph of text, then a table.
enum class TDocAlign : uint8_t { Left, Center, Right };
struct TDocCell {
  String Text;  // line breaks (CR LF, CR or LF) start new lines within the cell
  TDocAlign Align = TDocAlign::Left;
};
struct TDocTable {
  String Caption;  // the paragraph before the table
  std::vector<std::vector<TDocCell>> Rows;
};
// A new document holding the caption paragraph and the table.
void WriteDocument(const String& FileName, const TDocTable& Table);
// Adds the caption and the table to an existing document after the paragraph holding the
// bookmark (when Bookmark names one), else at the end; everything else is kept.
void AppendToDocument(const String& FileName, const String& Bookmark, const TDocTable& Table);

// ---- SQLite databases, opened read-only. One statement; a NULL value is nullopt.
struct TQueryResult {
  std::vector<String> Fields;
  std::vector<std::vector<std::optional<String>>> Rows;
};
// MaxRows bounds the rows read (more raise EExchangeError).
TQueryResult QueryDatabase(const String& FileName, const String& SQL, size_t MaxRows);
// A name as an SQL identifier: in double quotes, each double quote doubled.
String QuoteIdentifier(const String& Name);

// ---- XML documents. Elements and texts only (comments and processing instructions left
// out); text nodes of blanks only are dropped; no network, no DTD, no external entities.
struct TXmlNode {
  bool IsText = false;
  String Name;   // element name
  String Value;  // text of a text node
  std::vector<std::pair<String, String>> Attributes;
  std::vector<TXmlNode> Children;
  // The text of the node and everything below it.
  String Text() const;
};
// The document element. A missing file raises EExchangeError "XML file not found"; a document
// that is not well-formed raises EXmlParseError "XMLDOM Parsing error <code> on line <line>".
TXmlNode LoadXmlDocument(const String& FileName);
// Whether Name may stand as an element name (letters, digits, "_", "-", "." after a first
// letter or "_"; no colon).
bool IsXmlName(const String& Name);
// Whether the character may appear in an XML 1.0 document.
bool IsXmlChar(char32_t C);

}  // namespace exchange
