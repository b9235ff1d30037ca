// CString: editing, searching and formatting, with GBK double-byte text.
// "丄" is 0x81 'A', "乤" is 0x81 'a' and "乗" is 0x81 '\\' in GBK: their trail
// bytes look like ASCII and must never be matched or changed alone.
#include "tests/support/gtest.h"

#include "platform/classlib/cstring.h"

#include <string>

TEST(CString, ConstructionAndValueSemantics)
{
    CString empty;
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_STREQ("", (LPCSTR)empty);
    EXPECT_STREQ("", (LPCSTR)CString((LPCSTR)nullptr));
    EXPECT_STREQ("xxx", (LPCSTR)CString('x', 3));
    EXPECT_STREQ("ab", (LPCSTR)CString("abcdef", 2));
    EXPECT_STREQ("中文", (LPCSTR)CString(L"中文"));

    CString a("one");
    CString b = a;
    b += " two";
    EXPECT_STREQ("one", (LPCSTR)a);
    EXPECT_STREQ("one two", (LPCSTR)b);
    a = a;
    EXPECT_STREQ("one", (LPCSTR)a);
    a = (LPCSTR)b + 4;  // assigning a part of another string
    EXPECT_STREQ("two", (LPCSTR)a);
    b = (LPCSTR)b + 4;  // ... or of itself
    EXPECT_STREQ("two", (LPCSTR)b);
    b += b;
    EXPECT_STREQ("twotwo", (LPCSTR)b);
    EXPECT_STREQ("<two>", (LPCSTR)('<' + a + ">"));
}

TEST(CString, ComparisonsAndCase)
{
    CString text("Harbeck");
    EXPECT_TRUE(text == "Harbeck");
    EXPECT_TRUE("Harbeck" == text);
    EXPECT_TRUE(text != CString("harbeck"));
    EXPECT_TRUE(text < "Harbecl");
    EXPECT_EQ(0, text.CompareNoCase("HARBECK"));
    EXPECT_GT(0, text.CompareNoCase("harbecz"));
    EXPECT_LT(0, text.CompareNoCase("harb"));
    // A folded trail byte would make these two different characters equal.
    EXPECT_NE(0, CString("丄").CompareNoCase("乤"));
    EXPECT_EQ(0, CString("乤x").CompareNoCase("乤X"));
    EXPECT_EQ(0, CString("abc").Collate("abc"));
    EXPECT_GT(0, CString("abc").Collate("abd"));
}

TEST(CString, CaseChangesLeaveDoubleByteCharactersAlone)
{
    CString text("a丄b乤");
    text.MakeUpper();
    EXPECT_STREQ("A丄B乤", (LPCSTR)text);
    text.MakeLower();
    EXPECT_STREQ("a丄b乤", (LPCSTR)text);
    CString reversed("ab中文");
    reversed.MakeReverse();
    EXPECT_STREQ("文中ba", (LPCSTR)reversed);
}

TEST(CString, SearchStaysOnCharacterBoundaries)
{
    CString path("C:\\乗\\file.dwg");
    EXPECT_EQ(2, path.Find('\\'));
    EXPECT_EQ(5, path.Find('\\', 3));        // not the trail byte of "乗" at 4
    EXPECT_EQ(5, path.ReverseFind('\\'));
    EXPECT_EQ(-1, CString("丄").Find('A'));
    EXPECT_EQ(-1, CString("丄").Find("A"));
    EXPECT_EQ(-1, CString("x丄").Find("\x81"));  // half a character
    EXPECT_EQ(1, CString("x丄A").Find("丄A"));
    EXPECT_EQ(3, CString("x丄A").Find("A"));
    EXPECT_EQ(6, path.Find("file"));
    EXPECT_EQ(-1, path.Find("file", 7));
    EXPECT_EQ(-1, path.Find("", 0));
    EXPECT_EQ(-1, path.Find('C', 100));
    EXPECT_EQ(4, CString("ab中.x").FindOneOf(".,"));
    EXPECT_EQ(2, CString("ab中.x").FindOneOf("中"));
    EXPECT_EQ(-1, CString("丄").FindOneOf("A"));
    EXPECT_STREQ("ab中", (LPCSTR)CString("ab中.x").SpanExcluding("."));
    EXPECT_STREQ("12", (LPCSTR)CString("12a3").SpanIncluding("0123456789"));
}

TEST(CString, SubstringsClampToTheText)
{
    CString text("abcdef");
    EXPECT_STREQ("abc", (LPCSTR)text.Left(3));
    EXPECT_STREQ("abcdef", (LPCSTR)text.Left(100));
    EXPECT_STREQ("", (LPCSTR)text.Left(-1));
    EXPECT_STREQ("cd", (LPCSTR)text.Mid(2, 2));
    EXPECT_STREQ("ef", (LPCSTR)text.Mid(4));
    EXPECT_STREQ("", (LPCSTR)text.Mid(10));
    EXPECT_STREQ("abc", (LPCSTR)text.Mid(-3, 3));
    EXPECT_STREQ("def", (LPCSTR)text.Right(3));
    EXPECT_STREQ("abcdef", (LPCSTR)text.Right(99));
    EXPECT_EQ(0, text.GetAt(99));
}

TEST(CString, Trimming)
{
    CString text(" \t mid text \r\n");
    text.Trim();
    EXPECT_STREQ("mid text", (LPCSTR)text);
    CString stars("**a*b**");
    stars.TrimLeft('*');
    EXPECT_STREQ("a*b**", (LPCSTR)stars);
    stars.TrimRight('*');
    EXPECT_STREQ("a*b", (LPCSTR)stars);
    // A trailing "丄" ends in 'A' but is not the character 'A'.
    CString gbk("A丄");
    gbk.TrimRight("A");
    EXPECT_STREQ("A丄", (LPCSTR)gbk);
    gbk.TrimRight("丄");
    EXPECT_STREQ("A", (LPCSTR)gbk);
    CString all("xyx");
    all.Trim("xy");
    EXPECT_TRUE(all.IsEmpty());
}

TEST(CString, ReplaceRemoveInsertDelete)
{
    CString text("a.b.c");
    EXPECT_EQ(2, text.Replace('.', '/'));
    EXPECT_STREQ("a/b/c", (LPCSTR)text);
    EXPECT_EQ(2, text.Replace("/", "::"));
    EXPECT_STREQ("a::b::c", (LPCSTR)text);
    EXPECT_EQ(0, text.Replace("", "x"));
    EXPECT_EQ(2, text.Replace("::", ""));
    EXPECT_STREQ("abc", (LPCSTR)text);

    CString gbk("丄A乗\\");
    EXPECT_EQ(1, gbk.Replace('A', 'B'));
    EXPECT_STREQ("丄B乗\\", (LPCSTR)gbk);
    EXPECT_EQ(1, gbk.Replace("\\", "/"));
    EXPECT_STREQ("丄B乗/", (LPCSTR)gbk);
    EXPECT_EQ(1, gbk.Remove('B'));
    EXPECT_STREQ("丄乗/", (LPCSTR)gbk);

    CString edit("ace");
    EXPECT_EQ(4, edit.Insert(1, 'b'));
    EXPECT_EQ(5, edit.Insert(3, "d"));
    EXPECT_EQ(6, edit.Insert(100, "!"));
    EXPECT_STREQ("abcde!", (LPCSTR)edit);
    EXPECT_EQ(3, edit.Delete(3, 10));
    EXPECT_EQ(2, edit.Delete(0));
    EXPECT_EQ(2, edit.Delete(5, 1));
    EXPECT_STREQ("bc", (LPCSTR)edit);
}

TEST(CString, FormatGrowsToAnyLength)
{
    CString text;
    text.Format("%d-%s-%.2f", 42, "x", 1.5);
    EXPECT_STREQ("42-x-1.50", (LPCSTR)text);
    std::string longArgument(5000, 'q');
    text.Format("[%s]", longArgument.c_str());
    EXPECT_EQ(5002, text.GetLength());
    EXPECT_EQ(']', text[5001]);
    text.AppendFormat("%lld", 1234567890123LL);
    EXPECT_STREQ("1234567890123", (LPCSTR)text.Right(13));
    text.Format("%s", "");
    EXPECT_TRUE(text.IsEmpty());
}

TEST(CString, BufferAccess)
{
    CString text("abc");
    char* buffer = text.GetBuffer(100);
    strcpy(buffer, "a longer text written in place");
    text.ReleaseBuffer();
    EXPECT_STREQ("a longer text written in place", (LPCSTR)text);
    buffer = text.GetBuffer(0);
    text.ReleaseBuffer(2);
    EXPECT_STREQ("a ", (LPCSTR)text);
    buffer = text.GetBufferSetLength(4);
    memcpy(buffer, "wxyz", 4);
    text.ReleaseBuffer(4);
    EXPECT_STREQ("wxyz", (LPCSTR)text);
    CString empty;
    empty.GetBuffer(0)[0] = 0;
    empty.ReleaseBuffer();
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(CString, MissingStringResourceLoadsNothing)
{
    CString text("unchanged?");
    EXPECT_FALSE(text.LoadString(64999));
    EXPECT_TRUE(text.IsEmpty());
}
