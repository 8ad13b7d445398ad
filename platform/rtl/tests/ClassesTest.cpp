#include <gtest/gtest.h>

#include <vector>

#include "testing/TempFolder.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"

namespace {

std::vector<String> Items(const TStrings& l) {
  std::vector<String> out;
  for (int i = 0; i < l.Count(); ++i) out.push_back(l[i]);
  return out;
}

using V = std::vector<String>;

}  // namespace

TEST(StringList, TextJoinsWithCrLfAndSplitsOnAnyLineBreak) {
  struct Case {
    String text;
    V lines;
  };
  const Case cases[] = {
      {u"", {}},
      {u"a", {u"a"}},
      {u"a\r\n", {u"a"}},  // a final break adds no empty line
      {u"a\r\nb\nc\rd", {u"a", u"b", u"c", u"d"}},
      {u"a\n\nb", {u"a", u"", u"b"}},
      {u"\r\n", {u""}},
      {u"a\n\r", {u"a", u""}},  // LF then a lone CR: two breaks
  };
  TStringList l;
  for (const Case& c : cases) {
    l.SetText(c.text);
    EXPECT_EQ(Items(l), c.lines) << StringToUTF8(c.text);
  }
  l.SetText(u"x\ny");
  EXPECT_EQ(l.Text(), u"x\r\ny\r\n");
}

TEST(StringList, CommaTextQuotesWhereNeededAndParsesQuotesAndBlanks) {
  TStringList l;
  l.AddStrings({u"plain", u"with space", u"say \"hi\"", u"", u"a,b"});
  EXPECT_EQ(l.CommaText(), u"plain,\"with space\",\"say \"\"hi\"\"\",,\"a,b\"");

  struct Case {
    String text;
    V items;
  };
  const Case cases[] = {
      {u"a,b,c", {u"a", u"b", u"c"}},
      {u"a b", {u"a", u"b"}},  // blanks separate too
      {u"  a ,  b  ", {u"a", u"b"}},
      {u"\"a b\",\"c\"\"d\"", {u"a b", u"c\"d"}},
      {u"a,,b", {u"a", u"", u"b"}},
      {u"a,", {u"a", u""}},
      {u"\"\"", {u""}},
      {u"\"open", {u"open"}},  // an unterminated quote runs to the end
  };
  for (const Case& c : cases) {
    l.SetCommaText(c.text);
    EXPECT_EQ(Items(l), c.items) << StringToUTF8(c.text);
  }
  // Round trip, including the single empty item.
  l.Clear();
  l.Add(u"");
  EXPECT_EQ(l.CommaText(), u"\"\"");
  TStringList back;
  back.SetCommaText(l.CommaText());
  EXPECT_EQ(Items(back), V{u""});
}

TEST(StringList, DelimitedTextWithOwnDelimiterQuoteAndStrictMode) {
  TStringList l;
  l.SetDelimiter(u';');
  l.SetQuoteChar(u'\'');
  l.SetDelimitedText(u"a b;'c;d';e");
  EXPECT_EQ(Items(l), (V{u"a", u"b", u"c;d", u"e"}));
  l.SetStrictDelimiter(true);
  l.SetDelimitedText(u" a b ;c");
  EXPECT_EQ(Items(l), (V{u" a b ", u"c"}));
  EXPECT_EQ(l.DelimitedText(), u" a b ;c");  // blanks need no quotes in strict mode
  l.Add(u"x;y");
  EXPECT_EQ(l.DelimitedText(), u" a b ;c;'x;y'");
}

TEST(StringList, NamesAndValues) {
  TStringList l;
  l.SetText(u"Port=COM1\r\nnovalue\r\nBaud = 9600\r\n=empty name\r\nKey=a=b");
  EXPECT_EQ(l.Names(0), u"Port");
  EXPECT_EQ(l.Names(1), u"");
  EXPECT_EQ(l.Values(u"PORT"), u"COM1");  // names ignore case
  EXPECT_EQ(l.Values(u"Baud "), u" 9600");  // no trimming
  EXPECT_EQ(l.Values(u"missing"), u"");
  EXPECT_EQ(l.Values(u"key"), u"a=b");      // split at the first separator
  EXPECT_EQ(l.ValueFromIndex(1), u"");      // no separator: no value
  EXPECT_EQ(l.IndexOfName(u"novalue"), -1);
  l.SetValues(u"port", u"COM3");
  EXPECT_EQ(l[0], u"port=COM3");
  l.SetValues(u"New", u"1");
  EXPECT_EQ(l[l.Count() - 1], u"New=1");
  l.SetValues(u"new", u"");  // an empty value deletes the line
  EXPECT_EQ(l.IndexOfName(u"New"), -1);
  l.SetValueFromIndex(0, u"COM4");
  EXPECT_EQ(l[0], u"port=COM4");
  l.SetNameValueSeparator(u':');
  l.SetText(u"a:1");
  EXPECT_EQ(l.Values(u"a"), u"1");
}

TEST(StringList, IndexErrorsNameTheIndex) {
  TStringList l;
  l.Add(u"only");
  for (int bad : {-1, 1}) {
    try {
      l.Get(bad);
      FAIL();
    } catch (const EStringListError& e) {
      EXPECT_EQ(e.Message(), u"List index out of bounds (" + IntToStr(bad) + u")");
    }
  }
  EXPECT_THROW(l.Delete(1), EStringListError);
  EXPECT_THROW(l.Insert(2, u"x"), EStringListError);
  EXPECT_THROW(l.Put(5, u"x"), EStringListError);
  EXPECT_THROW(l.Objects(1), EStringListError);
  l.Insert(1, u"end");  // inserting at Count appends
  EXPECT_EQ(l.Count(), 2);
}

TEST(StringList, SortedListsFindAndHandleDuplicates) {
  TStringList l;
  l.AddStrings({u"COM3", u"com10", u"COM1"});
  l.SetSorted(true);
  EXPECT_EQ(Items(l), (V{u"COM1", u"com10", u"COM3"}));
  int at = -1;
  EXPECT_TRUE(l.Find(u"COM10", at));
  EXPECT_EQ(at, 1);
  EXPECT_FALSE(l.Find(u"COM2", at));
  EXPECT_EQ(at, 2);  // where it would go
  EXPECT_EQ(l.Add(u"COM2"), 2);

  EXPECT_EQ(l.Add(u"com1"), 0);  // dupIgnore: the existing one's index, nothing added
  EXPECT_EQ(l.Count(), 4);
  l.SetDuplicates(dupError);
  EXPECT_THROW(l.Add(u"COM1"), EStringListError);
  l.SetDuplicates(dupAccept);
  l.Add(u"COM1");
  EXPECT_EQ(l.Count(), 5);
  EXPECT_THROW(l.Insert(0, u"x"), EStringListError);
  EXPECT_THROW(l.Put(0, u"x"), EStringListError);

  // Case-sensitive: upper case sorts before lower case.
  TStringList cs;
  cs.SetCaseSensitive(true);
  cs.AddStrings({u"b", u"B", u"a"});
  cs.SetSorted(true);
  EXPECT_EQ(Items(cs), (V{u"B", u"a", u"b"}));
  EXPECT_EQ(cs.IndexOf(u"A"), -1);
  cs.SetCaseSensitive(false);
  EXPECT_EQ(cs.IndexOf(u"A"), 0);
}

TEST(StringList, CustomSortExchangeAndMoveKeepObjectsWithTheirStrings) {
  TObject a, b, c;
  TStringList l;
  l.AddObject(u"10", &a);
  l.AddObject(u"9", &b);
  l.AddObject(u"100", &c);
  l.CustomSort([](TStringList* s, int i, int j) { return StrToInt(s->Get(i)) - StrToInt(s->Get(j)); });
  EXPECT_EQ(Items(l), (V{u"9", u"10", u"100"}));
  EXPECT_EQ(l.Objects(0), &b);
  l.Exchange(0, 2);
  EXPECT_EQ(l.Objects(0), &c);
  EXPECT_EQ(l[2], u"9");
  l.Move(2, 0);
  EXPECT_EQ(Items(l), (V{u"9", u"100", u"10"}));
  EXPECT_EQ(l.Objects(0), &b);
  EXPECT_EQ(l.IndexOfObject(&a), 2);
}

TEST(StringList, OwnedObjectsAreFreedOnDeleteClearAndDestruction) {
  struct Tracked : TObject {
    int* count;
    explicit Tracked(int* c) : count(c) {}
    ~Tracked() override { ++*count; }
  };
  int freed = 0;
  {
    TStringList l(true);
    l.AddObject(u"a", new Tracked(&freed));
    l.AddObject(u"b", new Tracked(&freed));
    l.AddObject(u"c", new Tracked(&freed));
    l.Delete(0);
    EXPECT_EQ(freed, 1);
    l.Clear();
    EXPECT_EQ(freed, 3);
    l.AddObject(u"d", new Tracked(&freed));
  }
  EXPECT_EQ(freed, 4);
  Tracked kept(&freed);
  {
    TStringList notOwning;
    notOwning.AddObject(u"x", &kept);
  }
  EXPECT_EQ(freed, 4);
}

TEST(StringList, ChangeEventsFireOncePerUpdateBracket) {
  TStringList l;
  int changing = 0, changed = 0;
  l.OnChanging = [&](TObject*) { ++changing; };
  l.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &l);
    ++changed;
  };
  l.Add(u"a");
  EXPECT_EQ(changing, 1);
  EXPECT_EQ(changed, 1);
  l.BeginUpdate();
  l.Add(u"b");
  l.BeginUpdate();
  l.Delete(0);
  l.EndUpdate();
  EXPECT_EQ(changed, 1);
  l.EndUpdate();
  EXPECT_EQ(changing, 2);
  EXPECT_EQ(changed, 2);
  l.SetText(u"x\ny\nz");  // one bracket for the whole text
  EXPECT_EQ(changed, 3);
}

TEST(StringList, AssignAndAddStringsCopyStringsAndObjects) {
  TObject o;
  TStringList src;
  src.AddObject(u"one", &o);
  src.Add(u"two");
  src.SetDelimiter(u';');
  TStringList dst;
  dst.Add(u"old");
  dst.Assign(static_cast<TPersistent*>(&src));
  EXPECT_EQ(Items(dst), (V{u"one", u"two"}));
  EXPECT_EQ(dst.Objects(0), &o);
  EXPECT_EQ(dst.Delimiter(), u';');
  EXPECT_TRUE(dst.Equals(src));
  dst.AddStrings(&dst);  // adding a list to itself doubles it
  EXPECT_EQ(dst.Count(), 4);
}

TEST(StringList, FilesAreUtf8WithOrWithoutByteOrderMark) {
  TempFolder dir;
  dir.Write("bom.txt", "\xEF\xBB\xBF" "ﾓｰﾄﾞ\r\nline2\n");
  dir.Write("plain.txt", "ﾓｰﾄﾞ\rline2");
  for (const char* name : {"bom.txt", "plain.txt"}) {
    TStringList l;
    l.LoadFromFile(dir.FileS(name));
    EXPECT_EQ(Items(l), (V{U("ﾓｰﾄﾞ"), u"line2"})) << name;
  }
  TStringList l;
  l.AddStrings({U("ﾁｬﾝﾈﾙ"), u"2"});
  l.SaveToFile(dir.FileS("out.txt"));
  EXPECT_EQ(dir.Read("out.txt"), "ﾁｬﾝﾈﾙ\r\n2\r\n");

  const String missing = dir.FileS("missing.txt");
  try {
    l.LoadFromFile(missing);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_NE(e.Message().find(missing), String::npos);
  }
  EXPECT_EQ(l.Count(), 2);  // a failed load keeps the list

  TStringStream stream;
  l.SaveToStream(&stream);
  stream.SetPosition(0);
  TStringList fromStream;
  fromStream.LoadFromStream(&stream);
  EXPECT_TRUE(fromStream.Equals(l));
}
