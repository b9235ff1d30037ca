// Arrays, lists and maps: growth, insertion and removal at the edges,
// positions, many keys, and archive round trips.
#include "tests/support/gtest.h"

#include "platform/classlib/collections_array.h"
#include "platform/classlib/collections_list.h"
#include "platform/classlib/collections_map.h"
#include "tests/classlib/memory_file.h"

#include <map>
#include <random>
#include <string>

namespace {

std::string Join(const CStringArray& array)
{
    std::string text;
    for (INT_PTR i = 0; i < array.GetSize(); ++i)
        text += std::string(i ? "," : "") + (LPCSTR)array[i];
    return text;
}

std::string Join(const CStringList& list)
{
    std::string text;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
        text += std::string(text.empty() ? "" : ",") + (LPCSTR)list.GetNext(pos);
    return text;
}

}  // namespace

TEST(Collections, ArrayGrowsInsertsAndRemoves)
{
    CStringArray array;
    array.SetSize(0, 128);
    array.Add("b");
    array.Add("d");
    array.InsertAt(0, "a");
    array.InsertAt(2, "c");
    EXPECT_EQ("a,b,c,d", Join(array));
    array.InsertAt(6, "g");                // past the end: padded with empty texts
    EXPECT_EQ("a,b,c,d,,,g", Join(array));
    array.RemoveAt(4, 100);
    EXPECT_EQ("a,b,c,d", Join(array));
    array.RemoveAt(-1);
    array.RemoveAt(4);
    EXPECT_EQ(4, array.GetSize());
    array.SetAtGrow(5, "f");
    EXPECT_EQ("a,b,c,d,,f", Join(array));
    EXPECT_STREQ("", (LPCSTR)array.GetAt(99));
    EXPECT_THROW(array.ElementAt(6), CNotSupportedException*);

    CStringArray copy;
    copy.Copy(array);
    copy.Append(copy);
    EXPECT_EQ(12, copy.GetSize());
    copy.InsertAt(1, &array);
    EXPECT_EQ(18, copy.GetSize());
    EXPECT_STREQ("f", (LPCSTR)copy[6]);

    CDWordArray numbers;
    for (DWORD i = 0; i < 100000; ++i)
        numbers.Add(i * 3);
    EXPECT_EQ(99999u * 3, numbers[99999]);
    numbers.SetSize(10);
    EXPECT_EQ(9, numbers.GetUpperBound());
}

TEST(Collections, ListPositionsAndEdits)
{
    CStringList list;
    EXPECT_STREQ("", (LPCSTR)list.RemoveHead());
    EXPECT_EQ(nullptr, list.GetHeadPosition());
    POSITION b = list.AddTail("b");
    list.AddHead("a");
    list.AddTail("d");
    list.InsertAfter(b, "c");
    list.InsertBefore(list.GetHeadPosition(), "0");
    EXPECT_EQ("0,a,b,c,d", Join(list));
    EXPECT_EQ(b, list.Find("b"));
    EXPECT_EQ(nullptr, list.Find("b", b));
    EXPECT_EQ(b, list.FindIndex(2));
    EXPECT_EQ(nullptr, list.FindIndex(5));
    list.RemoveAt(b);
    EXPECT_STREQ("0", (LPCSTR)list.RemoveHead());
    EXPECT_STREQ("d", (LPCSTR)list.RemoveTail());
    EXPECT_EQ("a,c", Join(list));

    POSITION pos = list.GetTailPosition();
    EXPECT_STREQ("c", (LPCSTR)list.GetPrev(pos));
    EXPECT_STREQ("a", (LPCSTR)list.GetPrev(pos));
    EXPECT_EQ(nullptr, pos);
    list.AddTail(&list);
    EXPECT_EQ("a,c,a,c", Join(list));
    list.AddHead(&list);
    EXPECT_EQ(8, list.GetCount());
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_THROW(list.GetHead(), CNotSupportedException*);
}

TEST(Collections, MapsHoldManyKeys)
{
    CMapStringToPtr map;
    std::map<std::string, void*> expected;
    std::mt19937 random(7);
    for (int i = 0; i < 20000; ++i) {
        std::string key = "key" + std::to_string(random() % 15000);
        void* value = reinterpret_cast<void*>((INT_PTR)i + 1);
        map[key.c_str()] = value;
        expected[key] = value;
    }
    for (int i = 0; i < 15000; i += 3) {
        std::string key = "key" + std::to_string(i);
        EXPECT_EQ(expected.erase(key) == 1, map.RemoveKey(key.c_str()) != FALSE);
    }
    EXPECT_EQ((INT_PTR)expected.size(), map.GetCount());
    std::map<std::string, void*> seen;
    for (POSITION pos = map.GetStartPosition(); pos != nullptr;) {
        CString key;
        void* value = nullptr;
        map.GetNextAssoc(pos, key, value);
        EXPECT_TRUE(seen.emplace((LPCSTR)key, value).second) << "visited twice";
    }
    EXPECT_EQ(expected, seen);
    void* value = nullptr;
    EXPECT_FALSE(map.Lookup("key0", value));
    EXPECT_FALSE(map.Lookup(nullptr, value));

    CMapWordToPtr words;
    words.SetAt(7, &words);
    EXPECT_TRUE(words.Lookup(7, value));
    EXPECT_EQ(&words, value);
    EXPECT_FALSE(words.RemoveKey(8));
    CMapPtrToPtr pointers;
    pointers[&value] = &words;
    EXPECT_TRUE(pointers.Lookup(&value, value));
    EXPECT_EQ(&words, value);
}

TEST(Collections, SerialisedCollectionsRoundTrip)
{
    MemoryFile file;
    {
        CStringArray texts;
        texts.Add("一");
        texts.Add("two");
        CStringList names;
        names.AddTail("x");
        CMapStringToString pairs;
        pairs["k"] = "v";
        pairs["中"] = "文";
        CObArray objects;
        objects.Add(&texts);
        objects.Add(nullptr);
        objects.Add(&texts);    // the same object twice
        CArchive ar(&file, CArchive::store);
        texts.Serialize(ar);
        names.Serialize(ar);
        pairs.Serialize(ar);
        objects.Serialize(ar);
        ar.Close();
    }
    file.position = 0;
    CArchive ar(&file, CArchive::load);
    CStringArray texts;
    CStringList names;
    CMapStringToString pairs;
    CObArray objects;
    texts.Serialize(ar);
    names.Serialize(ar);
    pairs.Serialize(ar);
    objects.Serialize(ar);
    EXPECT_EQ("一,two", Join(texts));
    EXPECT_EQ("x", Join(names));
    CString value;
    EXPECT_TRUE(pairs.Lookup("中", value));
    EXPECT_STREQ("文", (LPCSTR)value);
    ASSERT_EQ(3, objects.GetSize());
    EXPECT_EQ(nullptr, objects[1]);
    EXPECT_EQ(objects[0], objects[2]);
    CStringArray* loaded = DYNAMIC_DOWNCAST(CStringArray, objects[0]);
    ASSERT_NE(nullptr, loaded);
    EXPECT_EQ("一,two", Join(*loaded));
    delete loaded;
}

TEST(Collections, ArchivedCountBeyondTheDataIsRejected)
{
    MemoryFile file(std::string("\xFF\xFF\xFF\x0F" "abcd", 8));
    CArchive ar(&file, CArchive::load);
    CDWordArray numbers;
    EXPECT_THROW(numbers.Serialize(ar), CArchiveException*);
    EXPECT_TRUE(numbers.IsEmpty());
}

TEST(Collections, RawPointersHaveNoArchiveForm)
{
    MemoryFile file;
    CArchive ar(&file, CArchive::store);
    CPtrArray pointers;
    pointers.Add(&file);
    EXPECT_THROW(pointers.Serialize(ar), CNotSupportedException*);
}
