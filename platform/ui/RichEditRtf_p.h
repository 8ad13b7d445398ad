#pragma once
// Private to platform/: rich text markup (RTF) to and from a Qt text document. Qt reads and
// writes no RTF, so the rich edit carries its own reader and writer.

#include <QFont>
#include <QTextFormat>

#include <string>
#include <string_view>

class QTextDocument;

namespace rtf {

// Character format properties Qt has no field for, kept so that a read document writes back
// what it read: the vertical offset in twips (positive raises) and the font's character set.
constexpr int OffsetProperty = QTextFormat::UserProperty + 0x52;
constexpr int CharsetProperty = QTextFormat::UserProperty + 0x53;

// Groups nested deeper than this keep the formatting of the group at the limit.
constexpr int MaxDepth = 256;

// Whether the bytes start as rich text markup does ("{\rtf").
bool IsRtf(std::string_view Bytes);
// Replaces the document's content with the text of the markup, in DefaultFont where the markup
// names no font or size. Damaged or truncated markup gives the text read up to the damage.
// False when the bytes are not rich text markup (the document is then left as it was).
bool Read(std::string_view Bytes, QTextDocument& Doc, const QFont& DefaultFont);
// The document as rich text markup (7-bit bytes).
std::string Write(const QTextDocument& Doc, const QFont& DefaultFont);

// The Windows code page of a font character set (0 for none), and its converter name.
int CharsetCodePage(int Charset);
std::string CodePageName(int CodePage);

}  // namespace rtf
