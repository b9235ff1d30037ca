// CArchive: round trips of values and object graphs, and bad input
// (truncated, corrupted, wrong classes) that must end in CArchiveException.
#include "tests/support/gtest.h"

#include "platform/classlib/archive.h"
#include "tests/classlib/memory_file.h"
#include "tests/support/test_files.h"

#include <random>
#include <set>

namespace {

// Every test object alive; the graphs below own nothing, so a corrupt
// archive that makes two objects share a third cannot free it twice.
std::set<CObject*> g_liveObjects;

void DeleteLiveObjects()
{
    while (!g_liveObjects.empty())
        delete *g_liveObjects.begin();   // the destructor leaves the set
}

class TestNode : public CObject
{
    DECLARE_SERIAL(TestNode)
public:
    TestNode() { g_liveObjects.insert(this); }
    ~TestNode() override { g_liveObjects.erase(this); }

    void Serialize(CArchive& ar) override
    {
        CObject::Serialize(ar);
        if (ar.IsStoring()) {
            ar << name << value << child << peer;
        } else {
            ar >> name >> value;
            ar >> child;
            peer = ar.ReadObject(nullptr);
        }
    }

    CString name;
    int value = 0;
    CObject* child = nullptr;
    CObject* peer = nullptr;
};

class TestLeaf : public CObject
{
    DECLARE_SERIAL(TestLeaf)
public:
    TestLeaf() { g_liveObjects.insert(this); }
    ~TestLeaf() override { g_liveObjects.erase(this); }

    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << weight;
        else
            ar >> weight;
        schemaSeen = ar.IsLoading() ? ar.GetObjectSchema() : 0;
    }
    double weight = 0;
    UINT schemaSeen = 0;
};

IMPLEMENT_SERIAL(TestNode, CObject, 1)
IMPLEMENT_SERIAL(TestLeaf, CObject, 3)

// A root node with a nested node, a leaf shared by both and a GBK name.
std::string StoreSampleGraph()
{
    TestLeaf* leaf = new TestLeaf;
    leaf->weight = 2.5;
    TestNode* root = new TestNode;
    root->name = "根节点";
    root->value = -7;
    TestNode* inner = new TestNode;
    inner->name = "inner";
    inner->child = leaf;
    root->child = inner;
    root->peer = leaf;
    inner->peer = inner;    // a reference to itself

    MemoryFile file;
    CArchive ar(&file, CArchive::store);
    ar << root;
    ar << (CObject*)nullptr << 42;
    ar.Close();
    DeleteLiveObjects();
    return file.bytes;
}

// Loads the sample; DeleteLiveObjects frees the result.
TestNode* LoadSampleGraph(const std::string& bytes, CObject** nothing = nullptr, int* tail = nullptr)
{
    MemoryFile file(bytes);
    CArchive ar(&file, CArchive::load);
    TestNode* root = nullptr;
    ar >> root;
    CObject* object = nullptr;
    int number = 0;
    ar >> object >> number;
    if (nothing != nullptr)
        *nothing = object;
    if (tail != nullptr)
        *tail = number;
    return root;
}

int LoadCause(const std::string& bytes)
{
    int cause = CArchiveException::none;
    try {
        LoadSampleGraph(bytes);
    } catch (CArchiveException* e) {
        cause = e->m_cause;
        e->Delete();
    }
    DeleteLiveObjects();
    return cause;
}

}  // namespace

TEST(Archive, ValuesRoundTripWithFixedWidths)
{
    MemoryFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << (BYTE)0xAB << (WORD)0xBEEF << (DWORD)0xDEADBEEF << (int)-2 << (short)-3
           << 1234567890123LL << 0.25f << -1.5 << true << 'z';
        ar << CString("中文") << CString() << "literal";
        ar.Close();
    }
    EXPECT_EQ(1u + 2 + 4 + 4 + 2 + 8 + 4 + 8 + 1 + 1 + (4 + 4) + 4 + (4 + 7), file.bytes.size());
    EXPECT_EQ('\xEF', file.bytes[1]);   // little-endian
    file.position = 0;
    CArchive ar(&file, CArchive::load);
    BYTE b; WORD w; DWORD d; int i; short s; long long ll; float f; double x; bool flag; char c;
    CString chinese, empty, literal;
    ar >> b >> w >> d >> i >> s >> ll >> f >> x >> flag >> c >> chinese >> empty >> literal;
    EXPECT_EQ(0xAB, b);
    EXPECT_EQ(0xBEEF, w);
    EXPECT_EQ(0xDEADBEEFu, d);
    EXPECT_EQ(-2, i);
    EXPECT_EQ(-3, s);
    EXPECT_EQ(1234567890123LL, ll);
    EXPECT_EQ(0.25f, f);
    EXPECT_EQ(-1.5, x);
    EXPECT_TRUE(flag);
    EXPECT_EQ('z', c);
    EXPECT_STREQ("中文", (LPCSTR)chinese);
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_STREQ("literal", (LPCSTR)literal);
    EXPECT_THROW(ar >> b, CArchiveException*) << "reading past the end";
}

TEST(Archive, ObjectGraphKeepsClassesAndSharedReferences)
{
    CObject* nothing = reinterpret_cast<CObject*>(1);
    int tail = 0;
    TestNode* root = LoadSampleGraph(StoreSampleGraph(), &nothing, &tail);
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(nullptr, nothing);
    EXPECT_EQ(42, tail);
    EXPECT_STREQ("根节点", (LPCSTR)root->name);
    EXPECT_EQ(-7, root->value);
    TestNode* inner = DYNAMIC_DOWNCAST(TestNode, root->child);
    ASSERT_NE(nullptr, inner);
    EXPECT_EQ(inner, inner->peer);
    TestLeaf* leaf = DYNAMIC_DOWNCAST(TestLeaf, inner->child);
    ASSERT_NE(nullptr, leaf);
    EXPECT_EQ(leaf, root->peer);
    EXPECT_EQ(2.5, leaf->weight);
    EXPECT_EQ(3u, leaf->schemaSeen);
    EXPECT_EQ(3u, g_liveObjects.size());
    DeleteLiveObjects();
}

TEST(Archive, WrongOrUnknownClassesAreRejected)
{
    std::string bytes = StoreSampleGraph();
    {
        MemoryFile file(bytes);
        CArchive ar(&file, CArchive::load);
        TestLeaf* leaf = nullptr;
        EXPECT_THROW(ar >> leaf, CArchiveException*);
    }
    EXPECT_TRUE(g_liveObjects.empty()) << "a rejected object is freed";
    std::string renamed = bytes;
    size_t at = renamed.find("TestNode");
    ASSERT_NE(std::string::npos, at);
    renamed[at] = 'X';
    EXPECT_EQ(CArchiveException::badClass, LoadCause(renamed));
    std::string otherSchema = bytes;
    otherSchema[4] = 2;   // the schema word of the first class
    EXPECT_EQ(CArchiveException::badSchema, LoadCause(otherSchema));
    std::string hugeName = bytes;
    hugeName[6] = (char)0xFF;
    EXPECT_NE(CArchiveException::none, LoadCause(hugeName));
}

TEST(Archive, HugeStringLengthFailsWithoutAllocating)
{
    MemoryFile file(std::string("\xF0\xFF\xFF\x7F" "abc", 7));
    CArchive ar(&file, CArchive::load);
    CString text;
    try {
        ar >> text;
        FAIL() << "no exception";
    } catch (CArchiveException* e) {
        EXPECT_EQ(CArchiveException::badIndex, e->m_cause);
        e->Delete();
    }
}

TEST(Archive, EveryTruncationThrows)
{
    std::string bytes = StoreSampleGraph();
    for (size_t length = 0; length < bytes.size(); ++length)
        EXPECT_NE(CArchiveException::none, LoadCause(bytes.substr(0, length))) << length;
}

TEST(Archive, CorruptedBytesNeverCrash)
{
    std::string bytes = StoreSampleGraph();
    std::mt19937 random(20261209);
    for (int round = 0; round < 3000; ++round) {
        std::string damaged = bytes;
        int flips = 1 + (int)(random() % 4);
        for (int k = 0; k < flips; ++k)
            damaged[random() % damaged.size()] = (char)random();
        LoadCause(damaged);
    }
}

TEST(Archive, DirectFileAccessStaysInStep)
{
    std::string folder = testfiles::MakeScratchFolder("archive");
    std::string path = folder + "\\direct.bin";
    {
        CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        ar << (DWORD)1;
        ar.GetFile()->Write("RAW", 3);
        ar << (DWORD)2;
        ar.Close();
    }
    CFile file(path.c_str(), CFile::modeRead);
    EXPECT_EQ(11u, file.GetLength());
    CArchive ar(&file, CArchive::load);
    DWORD first = 0, second = 0;
    char raw[3] = {};
    ar >> first;
    EXPECT_EQ(3u, ar.GetFile()->Read(raw, 3));
    ar >> second;
    EXPECT_EQ(1u, first);
    EXPECT_EQ(0, memcmp(raw, "RAW", 3));
    EXPECT_EQ(2u, second);
}

TEST(Archive, LoadingArchiveRefusesToStore)
{
    MemoryFile file;
    CArchive ar(&file, CArchive::load);
    EXPECT_THROW(ar << 1, CArchiveException*);
}
